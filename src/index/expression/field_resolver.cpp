#include "index/expression/field_resolver.h"

#include <cctype>
#include <cstring>

#include "dbf/ascii_text.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/expression/function.h"

namespace idx {
namespace {

const FieldResolver& Resolver(const FunctionCall& call) {
  if (!call.resolver()) throw dbf::ExpressionError("Expression cannot be evaluated");
  return *call.resolver();
}

void Recno(FunctionCall& call) {
  call.ReturnNumber(Resolver(call).recno());
}
void Deleted(FunctionCall& call) {
  Resolver(call);
  call.ReturnLogical(call.record() && call.record()[0] == '*');
}
void Bof(FunctionCall& call) {
  call.ReturnLogical(Resolver(call).bof());
}
void Eof(FunctionCall& call) {
  call.ReturnLogical(Resolver(call).eof());
}

// The one-letter type of the named field; "U" when there is no such field.
void Type(FunctionCall& call) {
  const dbf::FieldDescriptor* field = Resolver(call).FindField(call.Text(1).text);
  call.ReturnText(1)[0] = field ? field->type : 'U';
}

void FieldNo(FunctionCall& call) {
  const dbf::FieldDescriptor* field = Resolver(call).FindField(call.Text(1).text);
  call.ReturnNumber(field ? field->number : 0);
}

void Len(FunctionCall& call) {
  const dbf::FieldDescriptor* field = Resolver(call).FindField(call.Text(1).text);
  call.ReturnNumber(field ? field->width : 0);
}

const Function kTableFunctions[] = {
    {"BOF", Bof}, {"DELETED", Deleted}, {"EOF", Eof},   {"FIELDNO", FieldNo},
    {"LEN", Len}, {"RECNO", Recno},     {"TYPE", Type},
};

}  // namespace

FieldResolver::FieldResolver(const dbf::DbfFile& table)
    : table_(&table),
      fields_(table.fields()),
      alias_(table.alias()),
      table_name_(table.table_name()),
      record_length_(table.record_length()) {}

FieldResolver::FieldResolver(std::vector<dbf::FieldDescriptor> fields, std::string alias,
                             std::string table_name, uint32_t record_length)
    : fields_(std::move(fields)),
      alias_(std::move(alias)),
      table_name_(std::move(table_name)),
      record_length_(record_length) {}

const dbf::FieldDescriptor* FieldResolver::FindField(std::string_view name) const {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const size_t period = name.find('.');
  if (period != std::string_view::npos) {
    if (!dbf::EqualsIgnoringCase(name.substr(0, period), alias_)) return nullptr;
    name.remove_prefix(period + 1);
  }
  for (const dbf::FieldDescriptor& field : fields_) {
    if (dbf::EqualsIgnoringCase(field.name, name)) return &field;
  }
  return nullptr;
}

const Function* FieldResolver::FindTableFunction(std::string_view name) {
  for (const Function& function : kTableFunctions) {
    if (dbf::EqualsIgnoringCase(function.Name(), name)) return &function;
  }
  return nullptr;
}

const uint8_t* FieldResolver::record() const {
  if (record_) return record_;
  return table_ ? table_->record() : nullptr;
}

bool FieldResolver::translate() const {
  return table_ ? table_->translate_ascii() : translate_;
}

uint32_t FieldResolver::recno() const {
  return table_ ? table_->recno() : 0;
}
bool FieldResolver::bof() const {
  return table_ && table_->at_start();
}
bool FieldResolver::eof() const {
  return table_ && table_->at_end();
}

}  // namespace idx
