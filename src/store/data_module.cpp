#include "store/data_module.h"

#include <exception>

#include "dbf/ascii_text.h"
#include "store/lock_with_retry.h"
#include "store/progress_window.h"
#include "store/sign_in_name.h"

namespace store {

TData::TData(Operator& op, std::string executable_dir)
    : settings(std::move(executable_dir)), op(op), user_name_source_(OperatingSystemUserName) {
  for (StoreDataSets::Entry& entry : tables_.entries()) {
    if (entry.table->HasStatusHandler()) {
      entry.data_set->set_on_status([this](int32_t stat1, int32_t stat2, int32_t stat3) {
        StatusHandler(stat1, stat2, stat3);
      });
    }
  }
}

TData::~TData() {
  try {
    DataModuleDestroy();
  } catch (const std::exception&) {
    // The remaining tables close with the module below.
  }
}

void TData::set_read_only(bool read_only) {
  read_only_ = read_only;
  for (StoreDataSets::Entry& entry : tables_.entries()) entry.data_set->set_read_only(read_only);
}

std::string TData::FakturyIndexFile() const {
  return settings.CestaData + "/FAK" + settings.StoreCode + ".cdx";
}

std::string TData::OdberateleIndexFile() const {
  return settings.CestaData + "/Ext" + settings.StoreCode + ".cdx";
}

bool TData::OpenWithIndex(dbf::DbfDataSet& table, const std::string& index_file,
                          const std::string& tag_name, bool reopen_index) {
  const bool select = !dbf::Trim(tag_name).empty();
  if (table.active()) {
    if (reopen_index && table.TagCount() == 0) table.OpenIndexFile(index_file);
    if (select) table.SelectTag(tag_name);
    return true;
  }
  try {
    table.Open();
    table.OpenIndexFile(index_file);
    if (select) table.SelectTag(tag_name);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

bool TData::OpenFak(const std::string& tag_name) {
  return OpenWithIndex(Faktury(), FakturyIndexFile(), tag_name, false);
}

void TData::CloseFak() {
  if (Faktury().active()) Faktury().Close();
}

bool TData::OpenOdb(int /*ignored*/, const std::string& tag_name) {
  return OpenWithIndex(Odberatele(), OdberateleIndexFile(), tag_name, true);
}

void TData::CloseOdb() {
  if (Odberatele().active()) Odberatele().Close();
}

bool TData::LockWithRetry(dbf::DbfDataSet& table) {
  std::string name = table.table_name();
  for (StoreDataSets::Entry& entry : tables_.entries()) {
    if (entry.data_set.get() == &table) name = entry.table->TableName(settings.StoreCode);
  }
  return store::LockWithRetry([&table] { return table.LockRecord(); }, name, op);
}

void TData::StatusHandler(int32_t stat1, int32_t stat2, int32_t stat3) {
  if (progress_window_ != nullptr) {
    progress_window_->OnStatus(stat1, stat2, stat3);
  } else {
    op.ProcessMessages();
  }
}

void TData::DataModuleDestroy() {
  dbf::DbfDataSet& rules = UziPrava();
  if (!rules.active()) return;
  rules.CloseIndexFile(settings.CestaData + "Urs0000.cdx");
  rules.Close();
}

}  // namespace store
