#include "index/expression_key_source.h"

#include "dbf/dbf_file.h"
#include "dbf/field_codec.h"

namespace idx {

KeyValue ExpressionKeySource::Key(const uint8_t* record) {
  KeyValue key;
  key_.EvaluateToKey(key, record);
  return key;
}

bool ExpressionKeySource::For(const uint8_t* record) {
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

ExpressionKeySourceFactory::ExpressionKeySourceFactory(const dbf::DbfFile& table)
    : table_(table), resolver_(table) {}

std::unique_ptr<TagKeySource> ExpressionKeySourceFactory::Make(const std::string& key_expression,
                                                               const std::string& for_expression) {
  KeyExpression key = KeyExpression::Compile(key_expression, &resolver_);
  KeyExpression for_clause = KeyExpression::Compile(for_expression, &resolver_);
  std::vector<uint8_t> blank(table_.record_length() + 1, ' ');
  dbf::codec::BlankRecord(table_.fields().data(), table_.field_count(), blank.data(),
                          table_.record_length(), table_.version());
  KeyValue probe;
  key.EvaluateToKey(probe, blank.data());
  KeyType type = KeyType::kCharacter;
  if (probe.kind() == KeyKind::kFloat) type = KeyType::kNumber;
  if (probe.kind() == KeyKind::kInteger) type = KeyType::kDate;
  return std::make_unique<ExpressionKeySource>(std::move(key), std::move(for_clause), type);
}

}  // namespace idx
