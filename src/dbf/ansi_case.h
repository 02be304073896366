#ifndef SALDEX_DBF_ANSI_CASE_H_
#define SALDEX_DBF_ANSI_CASE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dbf {

// Case mapping of the ANSI code page (1250): every Latin letter it holds, accented letters
// included, maps to its partner in the code page; other bytes map to themselves.
class AnsiCase {
 public:
  static const AnsiCase& Get();

  uint8_t Upper(uint8_t c) const { return upper_[c]; }
  uint8_t Lower(uint8_t c) const { return lower_[c]; }
  const std::array<uint8_t, 256>& upper_table() const { return upper_; }
  const std::array<uint8_t, 256>& lower_table() const { return lower_; }
  std::string ToUpper(std::string_view text) const;

 private:
  AnsiCase();
  std::array<uint8_t, 256> upper_, lower_;
};

}  // namespace dbf

#endif  // SALDEX_DBF_ANSI_CASE_H_
