#ifndef SALDEX_INDEX_EXPRESSION_KEY_SOURCE_H_
#define SALDEX_INDEX_EXPRESSION_KEY_SOURCE_H_

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "index/expression/field_resolver.h"
#include "index/expression/key_expression.h"
#include "index/tag_key_source.h"

namespace dbf {
class DbfFile;
}

namespace idx {

// A tag's key and FOR expressions compiled against the table's fields.
class ExpressionKeySource : public TagKeySource {
 public:
  ExpressionKeySource(KeyExpression key, KeyExpression for_clause)
      : key_(std::move(key)), for_(std::move(for_clause)) {}

  // Finds the key type by evaluating the key on `probe`, then, when that fails, on `blank`.
  // When both fail the type stays unknown and the first failure is kept.
  void FindKeyType(const uint8_t* probe, const uint8_t* blank);

  KeyType key_type() const override { return type_; }
  size_t key_length() const override { return length_; }
  bool key_type_known() const override { return !type_error_; }
  void RequireKeyType() const override;
  KeyValue Key(const uint8_t* record) override;
  bool For(const uint8_t* record) override;
  std::vector<std::string> FieldNames() const override;

 private:
  KeyExpression key_;
  KeyExpression for_;
  KeyType type_ = KeyType::kCharacter;
  size_t length_ = 0;
  std::exception_ptr type_error_;
};

// Compiles tag expressions over one open table. The key type comes from evaluating the key
// expression once (text and logical: C, number: N, date: D) on the table's current record; on
// the first record when none is loaded (a table just opened); on a blank record when the table
// is empty or the key fails on that record. A key that fails on the blank record too leaves
// the type unknown: the tag is still listed, and every use of it raises that failure.
// REQUIRES: the table outlives the factory and every source it made.
class ExpressionKeySourceFactory : public TagKeySourceFactory {
 public:
  explicit ExpressionKeySourceFactory(dbf::DbfFile& table);
  std::unique_ptr<TagKeySource> Make(const std::string& key_expression,
                                     const std::string& for_expression) override;
  FieldResolver& resolver() { return resolver_; }

 private:
  // The record image the key type is found on (see above), in `scratch` unless it is the
  // table's own buffer.
  const uint8_t* ProbeRecord(std::vector<uint8_t>& scratch, const std::vector<uint8_t>& blank);

  dbf::DbfFile& table_;
  FieldResolver resolver_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_KEY_SOURCE_H_
