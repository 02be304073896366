// TData::Index: the rebuild of every store table's compound index file.

#include <optional>

#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "store/ansi_text.h"
#include "store/data_module.h"
#include "store/progress_window.h"
#include "store/rebuild_catalogue.h"
#include "store/store_messages.h"
#include "store/write_access.h"

namespace store {
namespace {

// Deletes the index file, found without regard to case; a file that exists
// but cannot be deleted fails the table's rebuild.
void DeleteIndexFile(const std::string& path) {
  while (const auto found = dbf::FindFileIgnoringCase(path)) {
    if (!dbf::RemoveFile(*found)) {
      throw dbf::DbfError(dbf::FormatMessage("Cannot delete file %s", *found));
    }
  }
}

}  // namespace

std::optional<std::string> TData::RebuildRefusal() const {
  if (read_only_) return Ansi("Indexy datových souborů se při práci jen pro čtení neobnovují.");
  if (const auto reason = WriteRefusal(settings.CestaData)) {
    return Ansi("Indexy datových souborů nelze obnovit, do adresáře ") + settings.CestaData +
           Ansi(" nelze zapisovat: ") + *reason;
  }
  return std::nullopt;
}

bool TData::Index() {
  failed_tables_.clear();
  cut_tables_.clear();
  store_tables_found_ = 0;
  rebuild_refused_ = false;
  ++rebuild_count_;
  if (const auto refusal = RebuildRefusal()) {
    op.ShowMessage(*refusal, kApplicationTitle);
    rebuild_refused_ = true;
    return false;
  }
  const std::string& dir = settings.CestaData;
  const std::string& code = settings.StoreCode;
  for (const RebuildTable& rebuild : RebuildCatalogue()) {
    if (!dbf::FileExistsIgnoringCase(rebuild.data_file.Compose(dir, code))) {
      op.ShowMessage(rebuild.NotFoundMessage(dir, code), kApplicationTitle);
      continue;
    }
    if (rebuild.data_file.per_store) ++store_tables_found_;
    RebuildOneTable(rebuild);
  }
  return true;
}

void TData::RebuildOneTable(const RebuildTable& rebuild) {
  const std::string& dir = settings.CestaData;
  const std::string& code = settings.StoreCode;
  const std::string index_file = rebuild.index_file.Compose(dir, code);
  const std::string data_file = rebuild.data_file.Compose(dir, code);
  dbf::DbfDataSet& table = Table(rebuild.component);
  const bool was_open = table.active();
  const std::string remembered_tag = table.index_name();
  table.Close();
  table.set_exclusive(true);

  std::optional<ProgressWindow> window;
  bool opened = false;
  try {
    table.Open();
    opened = true;
    if (table.file().HasPartialRecord()) {
      op.ShowMessage(CutTableText(table.file().path()), kApplicationTitle);
      cut_tables_.push_back(rebuild.component);
    }
    table.CloseIndexFile(index_file);
    DeleteIndexFile(index_file);
    window.emplace(op);
    progress_window_ = &*window;
    if (!rebuild.tags.empty()) window->SetLabel(rebuild.tags.front().label);
    for (const RebuildTag& tag : rebuild.tags) {
      window->SetLabel(tag.label);
      table.CreateTag(index_file, tag.name, tag.key, tag.for_condition, tag.unique ? 0 : 1,
                      tag.descending ? 1 : 0);
    }
  } catch (const std::exception& error) {
    progress_window_ = nullptr;
    window.reset();
    op.ShowMessage(RebuildFailureText(rebuild, data_file, index_file, opened, error.what()),
                   kApplicationTitle);
    failed_tables_.push_back(rebuild.component);
  }
  progress_window_ = nullptr;
  window.reset();

  table.Close();
  table.set_exclusive(false);
  if (was_open) {
    table.Open();
    table.OpenIndexFile(index_file);
    table.SelectTag(remembered_tag);
  }
}

}  // namespace store
