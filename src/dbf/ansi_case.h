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

// Upper case by the rules of code page 1250: a..z and every lower-case letter
// with a diacritic ("žluťoučký" -> "ŽLUŤOUČKÝ"); ß, µ and ˙ stay.
inline char AnsiUpper(char c) {
  return static_cast<char>(AnsiCase::Get().Upper(static_cast<uint8_t>(c)));
}
inline std::string AnsiUpperCase(std::string_view text) {
  return AnsiCase::Get().ToUpper(text);
}

}  // namespace dbf

#endif  // SALDEX_DBF_ANSI_CASE_H_
