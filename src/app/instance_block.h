#ifndef SALDEX_APP_INSTANCE_BLOCK_H_
#define SALDEX_APP_INSTANCE_BLOCK_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace app {

// The shared memory block of the single-instance guard, 3018 bytes:
//
//   offset  size     content
//   0       4        process id of the running instance (host byte order)
//   4       4        number of command-line arguments handed over, 0..10
//   8       10x301   ten slots; slot k (at 8 + 301 k) holds argument k + 1
//                    as a zero-terminated string of at most 300 bytes
//
// The functions below read and write a mapped block; they trust nothing
// read from it (a count outside 0..10 is clamped, a slot without its zero
// byte is cut at 300 bytes).
namespace instance_block {

inline constexpr size_t kSize = 3018;
inline constexpr size_t kOwnerOffset = 0;
inline constexpr size_t kCountOffset = 4;
inline constexpr size_t kSlotsOffset = 8;
inline constexpr size_t kSlotSize = 301;
inline constexpr int kMaxArguments = 10;
inline constexpr size_t kMaxArgumentLength = kSlotSize - 1;

int32_t ReadOwner(const uint8_t* block);
void WriteOwner(uint8_t* block, int32_t pid);
// The first 10 arguments, each cut to 300 bytes; the count written is the
// number of slots filled.
void WriteArguments(uint8_t* block, const std::vector<std::string>& arguments);
std::vector<std::string> ReadArguments(const uint8_t* block);

}  // namespace instance_block
}  // namespace app

#endif  // SALDEX_APP_INSTANCE_BLOCK_H_
