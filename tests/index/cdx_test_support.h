#ifndef SALDEX_TESTS_INDEX_CDX_TEST_SUPPORT_H_
#define SALDEX_TESTS_INDEX_CDX_TEST_SUPPORT_H_

// Key sources for index tests that read one field of the record image directly, so that the
// index layer is tested without the expression compiler.

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dbf/dates.h"
#include "index/tag_key_source.h"

namespace testing_support {

// Key: the raw bytes of one field (C), its number (N) or its date (D). FOR: an optional
// predicate over the record image.
class FieldKeySource : public idx::TagKeySource {
 public:
  FieldKeySource(std::string name, uint32_t offset, uint32_t width, idx::KeyType type,
                 std::function<bool(const uint8_t*)> for_clause = {})
      : name_(std::move(name)),
        offset_(offset),
        width_(width),
        type_(type),
        for_(std::move(for_clause)) {}

  idx::KeyType key_type() const override { return type_; }
  idx::KeyValue Key(const uint8_t* record) override {
    const std::string text(reinterpret_cast<const char*>(record) + offset_, width_);
    switch (type_) {
      case idx::KeyType::kNumber:
        return idx::KeyValue::Float(std::strtod(text.c_str(), nullptr));
      case idx::KeyType::kDate: {
        const auto date = dbf::ParseYyyymmdd(text);
        return idx::KeyValue::JulianDay(
            date ? static_cast<int32_t>(dbf::DaysFromCivil(*date) + dbf::kJulianDayOfZeroDate) : 0);
      }
      default:
        return idx::KeyValue::Character(text);
    }
  }
  bool For(const uint8_t* record) override { return !for_ || for_(record); }
  std::vector<std::string> FieldNames() const override { return {name_}; }

 private:
  std::string name_;
  uint32_t offset_, width_;
  idx::KeyType type_;
  std::function<bool(const uint8_t*)> for_;
};

// Makes sources by key expression text; FOR expressions are looked up by their text too.
class MapKeySourceFactory : public idx::TagKeySourceFactory {
 public:
  using Maker = std::function<std::unique_ptr<idx::TagKeySource>()>;
  void Add(const std::string& expression, Maker maker) { makers_[expression] = std::move(maker); }
  std::unique_ptr<idx::TagKeySource> Make(const std::string& key_expression,
                                          const std::string& for_expression) override {
    const auto it = makers_.find(
        for_expression.empty() ? key_expression : key_expression + " FOR " + for_expression);
    if (it == makers_.end()) return nullptr;
    return it->second();
  }

 private:
  std::map<std::string, Maker> makers_;
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_INDEX_CDX_TEST_SUPPORT_H_
