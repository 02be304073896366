#ifndef SALDEX_TESTS_INDEX_EXPRESSION_TEST_TABLE_H_
#define SALDEX_TESTS_INDEX_EXPRESSION_TEST_TABLE_H_

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dbf/field_codec.h"
#include "index/expression/field_resolver.h"

namespace idx::testing {

// A table layout for expression tests: field descriptors, record images
// built from raw field texts, and the bytes of a DBF file holding them.
class TestTable {
 public:
  explicit TestTable(std::string name = "SKLAD") : name_(std::move(name)) {}

  // `width` of a C field may exceed 255 (the decimal byte then holds the high byte).
  TestTable& Field(const std::string& name, char type, uint32_t width, uint32_t decimals = 0) {
    dbf::FieldDescriptor f;
    f.name = name;
    f.type = type;
    f.width = width;
    f.decimals = type == 'C' ? 0 : decimals;
    f.offset = record_length_;
    f.number = static_cast<int>(fields_.size()) + 1;
    record_length_ += width;
    fields_.push_back(f);
    return *this;
  }

  // A record image: every field blank, then the given raw texts, each
  // left-justified and cut to its width (N/F right-justified).
  std::vector<uint8_t> Record(const std::map<std::string, std::string>& raw,
                              bool deleted = false) const {
    std::vector<uint8_t> record(record_length_, ' ');
    record[0] = deleted ? '*' : ' ';
    for (const auto& [name, text] : raw) {
      for (const dbf::FieldDescriptor& f : fields_) {
        if (f.name != name) continue;
        const size_t n = text.size() < f.width ? text.size() : f.width;
        const bool right = f.type == 'N' || f.type == 'F';
        std::memcpy(record.data() + f.offset + (right ? f.width - n : 0), text.data(), n);
      }
    }
    return record;
  }

  FieldResolver Resolver() const { return FieldResolver(fields_, name_, name_, record_length_); }

  // The bytes of a version 0x03 DBF file holding `records`.
  std::string FileImage(const std::vector<std::vector<uint8_t>>& records) const {
    std::string image(32, '\0');
    image[0] = 0x03;
    image[1] = 124;
    image[2] = 1;
    image[3] = 1;
    const uint32_t count = static_cast<uint32_t>(records.size());
    const uint32_t header = 32 + 32 * static_cast<uint32_t>(fields_.size()) + 1;
    std::memcpy(&image[4], &count, 4);
    image[8] = static_cast<char>(header & 0xFF);
    image[9] = static_cast<char>(header >> 8);
    image[10] = static_cast<char>(record_length_ & 0xFF);
    image[11] = static_cast<char>(record_length_ >> 8);
    for (const dbf::FieldDescriptor& f : fields_) {
      std::string d(32, '\0');
      std::memcpy(&d[0], f.name.data(), f.name.size() < 10 ? f.name.size() : 10);
      d[11] = f.type;
      d[16] = static_cast<char>(f.width & 0xFF);
      d[17] = static_cast<char>(f.type == 'C' ? f.width >> 8 : f.decimals);
      image += d;
    }
    image += '\x0D';
    for (const auto& r : records) image.append(reinterpret_cast<const char*>(r.data()), r.size());
    image += '\x1A';
    return image;
  }

  // Writes FileImage to `path`.
  void Write(const std::string& path, const std::vector<std::vector<uint8_t>>& records) const {
    const std::string image = FileImage(records);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(image.data(), 1, image.size(), f);
    std::fclose(f);
  }

  const std::vector<dbf::FieldDescriptor>& fields() const { return fields_; }
  uint32_t record_length() const { return record_length_; }

 private:
  std::string name_;
  std::vector<dbf::FieldDescriptor> fields_;
  uint32_t record_length_ = 1;
};

}  // namespace idx::testing

#endif  // SALDEX_TESTS_INDEX_EXPRESSION_TEST_TABLE_H_
