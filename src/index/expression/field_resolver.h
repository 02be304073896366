#ifndef SALDEX_INDEX_EXPRESSION_FIELD_RESOLVER_H_
#define SALDEX_INDEX_EXPRESSION_FIELD_RESOLVER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/field_codec.h"

namespace dbf {
class DbfFile;
}

namespace idx {

class Function;

// The names an expression over one table can use: each field under its own
// name and as ALIAS.FIELD, and the table functions RECNO, DELETED, BOF, EOF,
// TYPE, FIELDNO and LEN. Names match without regard to case.
//
// Field values are decoded from a record image: the one given by set_record,
// else the table's record buffer. RECNO, BOF and EOF come from the table.
// REQUIRES: the table outlives the resolver; a record image holds
// record_length() bytes.
class FieldResolver {
 public:
  explicit FieldResolver(const dbf::DbfFile& table);
  // A resolver without a table file (RECNO 0, BOF and EOF false); set_record
  // must be called before evaluating. `table_name` names the table in errors.
  FieldResolver(std::vector<dbf::FieldDescriptor> fields, std::string alias, std::string table_name,
                uint32_t record_length);

  // A field by "NAME" or "ALIAS.NAME"; nullptr when absent.
  const dbf::FieldDescriptor* FindField(std::string_view name) const;
  // One of the table functions; nullptr when absent.
  static const Function* FindTableFunction(std::string_view name);

  // Whether a field fits inside the record image.
  bool IsReadable(const dbf::FieldDescriptor& field) const {
    return field.offset + static_cast<uint64_t>(field.width) <= record_length_;
  }

  const std::vector<dbf::FieldDescriptor>& fields() const { return fields_; }
  const std::string& alias() const { return alias_; }
  const std::string& table_name() const { return table_name_; }
  uint32_t record_length() const { return record_length_; }
  const dbf::DbfFile* table() const { return table_; }

  // The record image evaluated when none is passed explicitly.
  void set_record(const uint8_t* record) { record_ = record; }
  const uint8_t* record() const;

  uint32_t recno() const;
  bool bof() const;
  bool eof() const;

  // The table's TranslateASCII setting, read at each use: text is OEM and UPPER goes through
  // ANSI. set_translate gives it to a resolver without a table file.
  bool translate() const;
  void set_translate(bool on) { translate_ = on; }
  int default_str_width() const { return default_str_width_; }
  void set_default_str_width(int width) { default_str_width_ = width; }

 private:
  const dbf::DbfFile* table_ = nullptr;
  std::vector<dbf::FieldDescriptor> fields_;
  std::string alias_, table_name_;
  uint32_t record_length_ = 0;
  const uint8_t* record_ = nullptr;
  bool translate_ = true;
  int default_str_width_ = 10;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_FIELD_RESOLVER_H_
