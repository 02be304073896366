#ifndef SALDEX_DBF_CHARSET_TABLES_H_
#define SALDEX_DBF_CHARSET_TABLES_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dbf {

// Translation between the OEM code page of the table files (852) and the ANSI
// code page of the program's text (1250). Built once from the compiled-in
// code page maps so that no two bytes 33..255 translate to the same byte and
// a text survives any number of translations back and forth.
class CharsetTables {
 public:
  static const CharsetTables& Get();

  uint8_t ToOem(uint8_t ansi) const { return ansi_to_oem_[ansi]; }
  uint8_t ToAnsi(uint8_t oem) const { return oem_to_ansi_[oem]; }
  const std::array<uint8_t, 256>& ansi_to_oem() const { return ansi_to_oem_; }
  const std::array<uint8_t, 256>& oem_to_ansi() const { return oem_to_ansi_; }

  // Translates `length` bytes (source and destination may be the same).
  // With `translate` false the bytes are copied unchanged.
  void Translate(const char* source, char* destination, size_t length, bool to_oem,
                 bool translate = true) const;
  std::string ToOem(std::string_view ansi) const;
  std::string ToAnsi(std::string_view oem) const;

  // Builds the tables from the two platform conversions (exposed for tests).
  static CharsetTables Build(const std::array<uint8_t, 256>& platform_ansi_to_oem,
                             const std::array<uint8_t, 256>& platform_oem_to_ansi);

 private:
  std::array<uint8_t, 256> ansi_to_oem_{};
  std::array<uint8_t, 256> oem_to_ansi_{};
};

// Code page maps: Unicode code point of each byte, 0 where unassigned.
const std::array<char16_t, 256>& Cp852ToUnicode();
const std::array<char16_t, 256>& Cp1250ToUnicode();
// The platform conversion: a byte mapped through Unicode into the other code
// page; a character missing there becomes '?' as the platform conversion does.
std::array<uint8_t, 256> PlatformAnsiToOem();
std::array<uint8_t, 256> PlatformOemToAnsi();

// UTF-8 at the program's edges. Characters that 1250 / 852 cannot hold become '?'.
std::string Cp1250ToUtf8(std::string_view text);
std::string Utf8ToCp1250(std::string_view text);
std::string Cp852ToUtf8(std::string_view text);
std::string Utf8ToCp852(std::string_view text);

}  // namespace dbf

#endif  // SALDEX_DBF_CHARSET_TABLES_H_
