#include "dbf/write_fault.h"

#include <algorithm>

#include "dbf/ascii_text.h"

namespace dbf {
namespace {

struct ArmedFault {
  bool armed = false;
  std::string file_name;
  uint64_t budget = 0;
  int error_number = 0;
  bool lasting = false;
};

ArmedFault& Fault() {
  static ArmedFault fault;
  return fault;
}

}  // namespace

void WriteFault::Arm(const std::string& file_name, uint64_t bytes_before_failure, int error_number,
                     bool lasting) {
  Fault() = ArmedFault{true, file_name, bytes_before_failure, error_number, lasting};
}

void WriteFault::Disarm() {
  Fault() = ArmedFault{};
}

size_t WriteFault::Allow(const std::string& path, size_t length, int* error_number) {
  ArmedFault& fault = Fault();
  if (!fault.armed) return length;
  if (!fault.file_name.empty()) {
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!EqualsIgnoringCase(name, fault.file_name)) return length;
  }
  if (fault.budget == 0) {
    *error_number = fault.error_number;
    if (!fault.lasting) fault = ArmedFault{};
    return 0;
  }
  const size_t allowed = static_cast<size_t>(std::min<uint64_t>(length, fault.budget));
  fault.budget -= allowed;
  return allowed;
}

}  // namespace dbf
