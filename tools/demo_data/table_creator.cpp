#include "table_creator.h"

#include <fstream>
#include <stdexcept>

#include "dbf/clock.h"
#include "dbf/file_names.h"

namespace demo {

void CreateTable(const std::string& path, const std::vector<FieldDef>& fields, uint8_t version,
                 uint8_t language_driver) {
  const size_t header_length = 32 + 32 * fields.size() + 1 + (version == 0x30 ? 263 : 0);
  size_t record_length = 1;
  for (const FieldDef& f : fields) record_length += static_cast<size_t>(f.width);
  if (header_length > 0xFFFF || record_length > 0xFFFF) {
    throw std::invalid_argument("table too wide: " + path);
  }
  const dbf::LocalTime now = dbf::Now();
  std::string out(32, '\0');
  out[0] = static_cast<char>(version);
  out[1] = static_cast<char>(now.year % 100);
  out[2] = static_cast<char>(now.month);
  out[3] = static_cast<char>(now.day);
  out[8] = static_cast<char>(header_length & 0xFF);
  out[9] = static_cast<char>(header_length >> 8);
  out[10] = static_cast<char>(record_length & 0xFF);
  out[11] = static_cast<char>(record_length >> 8);
  out[29] = static_cast<char>(language_driver);
  size_t offset = 1;
  for (const FieldDef& f : fields) {
    std::string d(32, '\0');
    for (size_t i = 0; i < f.name.size() && i < 10; ++i) d[i] = f.name[i];
    d[11] = f.type;
    for (int i = 0; i < 4; ++i) d[12 + i] = static_cast<char>(offset >> (8 * i));
    d[16] = static_cast<char>(f.width & 0xFF);
    d[17] = static_cast<char>(f.type == 'C' ? f.width >> 8 : f.decimals);
    out += d;
    offset += static_cast<size_t>(f.width);
  }
  out += '\r';
  if (version == 0x30) out += std::string(263, '\0');
  out += '\x1A';
  dbf::RemoveFileIgnoringCase(path);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out;
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace demo
