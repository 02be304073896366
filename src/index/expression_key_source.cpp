#include "index/expression_key_source.h"

#include <utility>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/field_codec.h"

namespace idx {

void ExpressionKeySource::FindKeyType(const uint8_t* probe, const uint8_t* blank) {
  KeyValue value;
  try {
    value = Key(probe);
  } catch (const dbf::EngineError&) {
    try {
      value = Key(blank);
    } catch (const dbf::EngineError&) {
      type_error_ = std::current_exception();
      return;
    }
  }
  // Any other result (no key expression, a kind that cannot be sorted) counts as C; building
  // or maintaining the tag then reports the key itself.
  type_ = KeyType::kCharacter;
  length_ = value.kind() == KeyKind::kLogical ? 1 : value.length();
  if (value.kind() == KeyKind::kFloat) type_ = KeyType::kNumber;
  if (value.kind() == KeyKind::kInteger) type_ = KeyType::kDate;
  if (type_ != KeyType::kCharacter) length_ = 8;
}

void ExpressionKeySource::RequireKeyType() const {
  if (type_error_) std::rethrow_exception(type_error_);
}

KeyValue ExpressionKeySource::Key(const uint8_t* record) {
  RequireKeyType();
  KeyValue key;
  key_.EvaluateToKey(key, record);
  if (!key_.empty() && key_.ResultType() == ValueType::kUnknown) {
    throw dbf::DbfError("Variant type cannot be sorted");
  }
  return key;
}

bool ExpressionKeySource::For(const uint8_t* record) {
  RequireKeyType();
  if (for_.empty()) return true;
  const Value& value = for_.Evaluate(record);
  return value.type == ValueType::kBoolean && value.logical;
}

std::vector<std::string> ExpressionKeySource::FieldNames() const {
  std::vector<std::string> names;
  const std::string list = key_.FieldNames();
  size_t start = 0;
  for (size_t semicolon; (semicolon = list.find(';', start)) != std::string::npos;
       start = semicolon + 1) {
    if (semicolon > start) names.push_back(list.substr(start, semicolon - start));
  }
  return names;
}

ExpressionKeySourceFactory::ExpressionKeySourceFactory(dbf::DbfFile& table)
    : table_(table), resolver_(table) {}

const uint8_t* ExpressionKeySourceFactory::ProbeRecord(std::vector<uint8_t>& scratch,
                                                       const std::vector<uint8_t>& blank) {
  const uint32_t recno = table_.recno();
  if (recno >= 1 && recno <= table_.record_count() && !table_.at_end()) {
    return std::as_const(table_).record();  // the image as it is, without taking the buffer
  }
  if (table_.record_count() == 0) return blank.data();
  // Read without moving the table: its position stays as the caller left it.
  scratch = blank;
  const size_t length = table_.record_length();
  if (table_.disk().Read(table_.header_length(), scratch.data(), length) != length) {
    return blank.data();
  }
  return scratch.data();
}

std::unique_ptr<TagKeySource> ExpressionKeySourceFactory::Make(const std::string& key_expression,
                                                               const std::string& for_expression) {
  auto source =
      std::make_unique<ExpressionKeySource>(KeyExpression::Compile(key_expression, &resolver_),
                                            KeyExpression::Compile(for_expression, &resolver_));
  std::vector<uint8_t> blank(table_.record_length() + 1, ' ');
  dbf::codec::BlankRecord(table_.fields().data(), table_.field_count(), blank.data(),
                          table_.record_length(), table_.version());
  std::vector<uint8_t> scratch;
  source->FindKeyType(ProbeRecord(scratch, blank), blank.data());
  return source;
}

}  // namespace idx
