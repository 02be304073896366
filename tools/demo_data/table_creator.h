#ifndef SALDEX_TOOLS_DEMO_DATA_TABLE_CREATOR_H_
#define SALDEX_TOOLS_DEMO_DATA_TABLE_CREATOR_H_

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct FieldDef {
  std::string name;  // at most 10 characters
  char type;         // C N F D L
  int width;
  int decimals = 0;
};

// Writes an empty dBase table: header, descriptors, 0x0D, 0x1A. The engine
// itself never creates tables; the demo data and benchmarks need some.
// `language_driver` 0x64 marks code page 852.
void CreateTable(const std::string& path, const std::vector<FieldDef>& fields,
                 uint8_t version = 0x03, uint8_t language_driver = 0x64);

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_TABLE_CREATOR_H_
