#ifndef SALDEX_TESTS_STORE_TEMP_DIR_H_
#define SALDEX_TESTS_STORE_TEMP_DIR_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

// A fresh directory under the test temporary directory, removed with its
// contents at the end of the test. path() ends with '/'.
class TempDir {
 public:
  TempDir() {
    std::string pattern = ::testing::TempDir() + "store_test_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern + "/";
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }

  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ + name, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ + name); }

 private:
  std::string path_;
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_STORE_TEMP_DIR_H_
