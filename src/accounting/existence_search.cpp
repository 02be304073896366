#include "accounting/existence_search.h"

#include <optional>
#include <vector>

#include "accounting/prefix_index.h"
#include "dbf/field_string.h"

namespace accounting {
namespace {

class IndexedSearch : public ExistenceSearch {
 public:
  IndexedSearch(dbf::DbfDataSet& table, std::string field_name)
      : table_(table), field_name_(std::move(field_name)) {}

  bool Locate(std::string_view value) override {
    // Built at the first question, so a run that asks none reads nothing.
    if (!index_) index_ = std::make_unique<PrefixIndex>(table_, field_name_);
    const std::optional<uint32_t> recno = index_->FirstMatch(value);
    if (!recno) return false;
    table_.SetRecNo(*recno);
    return true;
  }

 private:
  dbf::DbfDataSet& table_;
  std::string field_name_;
  std::unique_ptr<PrefixIndex> index_;
};

class SequentialSearch : public ExistenceSearch {
 public:
  SequentialSearch(dbf::DbfDataSet& table, std::string field_name)
      : table_(table), field_name_(std::move(field_name)) {}

  // The cursor's own partial-key Locate: the table has no index open, so it
  // scans from the first record. The cursor's Locate answers "not found" on
  // a table without a visible record before it converts the value; the value
  // is converted first here, so a value the field cannot hold raises also
  // then, as the indexed search raises it.
  bool Locate(std::string_view value) override {
    ConvertAsKey(value);
    return table_.Locate(field_name_, {dbf::SearchValue(value)}, {.partial_key = true});
  }

 private:
  // Puts the value into the field of a blank record, as the Locate's key record takes it.
  void ConvertAsKey(std::string_view value) const {
    const dbf::DbfFile& file = table_.file();
    const dbf::FieldDescriptor& field = file.field(file.RequireField(field_name_));
    std::vector<uint8_t> record(file.record_length() + 1, ' ');
    dbf::codec::BlankRecord(file.fields().data(), file.field_count(), record.data(),
                            file.record_length(), file.version());
    dbf::PutFieldString(field, record.data(), table_.Translate(value, /*to_oem=*/true),
                        file.version(), file.table_name());
  }

 private:
  dbf::DbfDataSet& table_;
  std::string field_name_;
};

}  // namespace

std::unique_ptr<ExistenceSearch> MakeExistenceSearch(SearchMethod method, dbf::DbfDataSet& table,
                                                     std::string field_name) {
  if (method == SearchMethod::kIndexed) {
    return std::make_unique<IndexedSearch>(table, std::move(field_name));
  }
  return std::make_unique<SequentialSearch>(table, std::move(field_name));
}

}  // namespace accounting
