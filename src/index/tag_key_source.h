#ifndef SALDEX_INDEX_TAG_KEY_SOURCE_H_
#define SALDEX_INDEX_TAG_KEY_SOURCE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "index/expression/key_value.h"

namespace idx {

// Evaluates one tag's key expression and FOR clause over record images of its table.
// REQUIRES: every record image holds the table's record length in bytes.
class TagKeySource {
 public:
  virtual ~TagKeySource() = default;
  // C for text and logical results, N for numbers, D for dates (found by evaluating once).
  virtual KeyType key_type() const = 0;
  // Length of the key the type was found with (a logical counts 1, N and D keys 8); 0 when the
  // source does not know it, and the tag build then evaluates the key on the table's record.
  virtual size_t key_length() const { return 0; }
  // False when the key could not be evaluated where its type was sought: the type is unknown,
  // and RequireKeyType, Key and For raise that failure.
  virtual bool key_type_known() const { return true; }
  virtual void RequireKeyType() const {}
  // The key value of `record`; raises ExpressionError when the expression fails and DbfError
  // "Variant type cannot be sorted" for a result of no sortable kind.
  virtual KeyValue Key(const uint8_t* record) = 0;
  // The FOR clause on `record`; true when the tag has none.
  virtual bool For(const uint8_t* record) = 0;
  // The table fields the key expression reads, in order of appearance (upper case).
  virtual std::vector<std::string> FieldNames() const = 0;
};

// Compiles the expressions of a tag read from a file. Raises ExpressionError.
class TagKeySourceFactory {
 public:
  virtual ~TagKeySourceFactory() = default;
  virtual std::unique_ptr<TagKeySource> Make(const std::string& key_expression,
                                             const std::string& for_expression) = 0;
};

}  // namespace idx

#endif  // SALDEX_INDEX_TAG_KEY_SOURCE_H_
