#include "app/instance_block.h"

#include <algorithm>
#include <cstring>

namespace app::instance_block {

int32_t ReadOwner(const uint8_t* block) {
  int32_t pid;
  std::memcpy(&pid, block + kOwnerOffset, sizeof pid);
  return pid;
}

void WriteOwner(uint8_t* block, int32_t pid) {
  std::memcpy(block + kOwnerOffset, &pid, sizeof pid);
}

void WriteArguments(uint8_t* block, const std::vector<std::string>& arguments) {
  const int32_t count = std::min<int32_t>(static_cast<int32_t>(arguments.size()), kMaxArguments);
  std::memcpy(block + kCountOffset, &count, sizeof count);
  for (int32_t k = 0; k < count; ++k) {
    uint8_t* slot = block + kSlotsOffset + kSlotSize * k;
    const size_t length = std::min(arguments[k].size(), kMaxArgumentLength);
    std::memcpy(slot, arguments[k].data(), length);
    std::memset(slot + length, 0, kSlotSize - length);
  }
}

std::vector<std::string> ReadArguments(const uint8_t* block) {
  int32_t count;
  std::memcpy(&count, block + kCountOffset, sizeof count);
  count = std::clamp<int32_t>(count, 0, kMaxArguments);
  std::vector<std::string> arguments;
  for (int32_t k = 0; k < count; ++k) {
    const char* slot = reinterpret_cast<const char*>(block + kSlotsOffset + kSlotSize * k);
    arguments.emplace_back(slot, strnlen(slot, kMaxArgumentLength));
  }
  return arguments;
}

}  // namespace app::instance_block
