#ifndef SALDEX_DBF_LITTLE_ENDIAN_H_
#define SALDEX_DBF_LITTLE_ENDIAN_H_

#include <cstdint>

namespace dbf {

// The table header's integers are little-endian, whatever the host.

inline uint16_t Load16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t Load32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void Store32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace dbf

#endif  // SALDEX_DBF_LITTLE_ENDIAN_H_
