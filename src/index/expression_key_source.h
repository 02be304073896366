#ifndef SALDEX_INDEX_EXPRESSION_KEY_SOURCE_H_
#define SALDEX_INDEX_EXPRESSION_KEY_SOURCE_H_

#include <memory>
#include <string>
#include <vector>

#include "index/field_resolver.h"
#include "index/key_expression.h"
#include "index/tag_key_source.h"

namespace dbf {
class DbfFile;
}

namespace idx {

// A tag's key and FOR expressions compiled against the table's fields.
class ExpressionKeySource : public TagKeySource {
 public:
  ExpressionKeySource(KeyExpression key, KeyExpression for_clause, KeyType type)
      : key_(std::move(key)), for_(std::move(for_clause)), type_(type) {}

  KeyType key_type() const override { return type_; }
  KeyValue Key(const uint8_t* record) override;
  bool For(const uint8_t* record) override;
  std::vector<std::string> FieldNames() const override;

 private:
  KeyExpression key_;
  KeyExpression for_;
  KeyType type_;
};

// Compiles tag expressions over one open table; the key type comes from evaluating the key
// expression once over a blank record (text and logical: C, number: N, date: D).
// REQUIRES: the table outlives the factory and every source it made.
class ExpressionKeySourceFactory : public TagKeySourceFactory {
 public:
  explicit ExpressionKeySourceFactory(const dbf::DbfFile& table);
  std::unique_ptr<TagKeySource> Make(const std::string& key_expression,
                                     const std::string& for_expression) override;
  FieldResolver& resolver() { return resolver_; }

 private:
  const dbf::DbfFile& table_;
  FieldResolver resolver_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_KEY_SOURCE_H_
