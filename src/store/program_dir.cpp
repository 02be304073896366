#include "store/program_dir.h"

#include <unistd.h>

#include <vector>

#include "dbf/system_path.h"

namespace store {

std::string ExecutableDirectory() {
  std::vector<char> buffer(4096);
  while (true) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "./";
    if (static_cast<size_t>(length) < buffer.size()) {
      const std::string path(buffer.data(), static_cast<size_t>(length));
      return dbf::ProgramPath(path.substr(0, path.rfind('/') + 1));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace store
