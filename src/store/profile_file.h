#ifndef SALDEX_STORE_PROFILE_FILE_H_
#define SALDEX_STORE_PROFILE_FILE_H_

#include <optional>
#include <string>
#include <string_view>

namespace store {

// INI text read and written with the rules of the profile-string functions:
//  - "[name]" opens a section; section and key names compare without regard
//    to ASCII case; only the first section of a name is looked at;
//  - "key=value": blanks (space, tab) around key and value are ignored, the
//    first matching key of the section wins, a value enclosed in a pair of
//    single or double quotes is returned without them, and at most
//    kMaxValueLength characters of a value are returned;
//  - lines starting with ';' are comments; lines without '=' are ignored.
// Writing replaces or inserts one "key=value" line and leaves every other
// byte of the text as it was. The text is code page 1250 bytes, and so are
// the paths given (dbf/system_path.h).
class ProfileFile {
 public:
  static constexpr size_t kMaxValueLength = 2047;

  ProfileFile() = default;
  explicit ProfileFile(std::string text) : text_(std::move(text)) {}

  // The file's bytes, or an empty text when `path` does not exist. Throws
  // std::runtime_error when an existing file cannot be read.
  static ProfileFile Load(const std::string& path);
  // Replaces the file through a temporary file in the same directory, so an
  // interrupted write never leaves half a settings file. Throws
  // std::runtime_error "Unable to write to <path>" on failure.
  void Save(const std::string& path) const;

  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;

  // Sets the first matching key of the section to `value`; a missing key is
  // added after the section's last non-blank line, a missing section at the
  // end of the text.
  void Write(std::string_view section, std::string_view key, std::string_view value);

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace store

#endif  // SALDEX_STORE_PROFILE_FILE_H_
