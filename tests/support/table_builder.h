#ifndef SALDEX_TESTS_SUPPORT_TABLE_BUILDER_H_
#define SALDEX_TESTS_SUPPORT_TABLE_BUILDER_H_

// Writes dBase table images for tests: header, descriptors, terminator, the
// version 0x30 area, records and the end-of-file byte, all byte by byte so
// that a test states exactly what lies on disk.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace testing_support {

struct FieldSpec {
  std::string name;
  char type;
  int width;
  int decimals = 0;
};

class TableBuilder {
 public:
  explicit TableBuilder(std::vector<FieldSpec> fields, uint8_t version = 0x03)
      : fields_(std::move(fields)), version_(version) {}

  // Fields' raw texts in order; shorter texts are padded with spaces.
  TableBuilder& Record(const std::vector<std::string>& values, bool deleted = false) {
    std::string rec(1, deleted ? '*' : ' ');
    for (size_t i = 0; i < fields_.size(); ++i) {
      std::string v = i < values.size() ? values[i] : std::string();
      v.resize(static_cast<size_t>(Width(fields_[i])), ' ');
      rec += v;
    }
    records_.push_back(rec);
    return *this;
  }
  // A record given as raw bytes (without the deletion flag).
  TableBuilder& RawRecord(const std::string& bytes, bool deleted = false) {
    records_.push_back(std::string(1, deleted ? '*' : ' ') + bytes);
    return *this;
  }
  TableBuilder& HeaderCount(uint32_t count) {
    header_count_ = count;
    return *this;
  }
  TableBuilder& WithoutEofByte() {
    eof_byte_ = false;
    return *this;
  }

  // C widths above 255 are stored with their high byte in the decimal count.
  static int Width(const FieldSpec& f) { return f.width; }
  uint16_t HeaderLength() const {
    return static_cast<uint16_t>(32 + 32 * fields_.size() + 1 + (version_ == 0x30 ? 263 : 0));
  }
  uint16_t RecordLength() const {
    int r = 1;
    for (const FieldSpec& f : fields_) r += Width(f);
    return static_cast<uint16_t>(r);
  }

  std::string Image() const {
    std::string out(32, '\0');
    out[0] = static_cast<char>(version_);
    out[1] = 99;  // 1999-01-01: clearly not today
    out[2] = 1;
    out[3] = 1;
    const uint32_t count = header_count_ ? *header_count_ : static_cast<uint32_t>(records_.size());
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>(count >> (8 * i));
    const uint16_t h = HeaderLength(), r = RecordLength();
    out[8] = static_cast<char>(h & 0xFF);
    out[9] = static_cast<char>(h >> 8);
    out[10] = static_cast<char>(r & 0xFF);
    out[11] = static_cast<char>(r >> 8);
    out[29] = 0x64;  // code page 852 mark
    int offset = 1;
    for (const FieldSpec& f : fields_) {
      std::string d(32, '\0');
      for (size_t i = 0; i < f.name.size() && i < 10; ++i) d[i] = f.name[i];
      d[11] = f.type;
      for (int i = 0; i < 4; ++i) d[12 + i] = static_cast<char>(offset >> (8 * i));
      if (f.type == 'C') {
        d[16] = static_cast<char>(f.width & 0xFF);
        d[17] = static_cast<char>(f.width >> 8);
      } else {
        d[16] = static_cast<char>(f.width);
        d[17] = static_cast<char>(f.decimals);
      }
      out += d;
      offset += Width(f);
    }
    out += '\r';
    if (version_ == 0x30) out += std::string(263, '\0');
    for (const std::string& rec : records_) out += rec;
    if (eof_byte_) out += '\x1A';
    return out;
  }

  void WriteTo(const std::string& path) const {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << Image();
  }

 private:
  std::vector<FieldSpec> fields_;
  uint8_t version_;
  std::vector<std::string> records_;
  std::optional<uint32_t> header_count_;
  bool eof_byte_ = true;
};

// A fresh directory under the test temp dir, removed with the object.
class TempDir {
 public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "saldex-XXXXXX").string();
    path_ = mkdtemp(templ.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_SUPPORT_TABLE_BUILDER_H_
