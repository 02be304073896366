#include "dbf/file_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

#include "dbf/system_path.h"

namespace dbf {
namespace {

struct SplitPath {
  std::string directory;  // "" when the path has no '/'; "/" for the root
  std::string name;
};

SplitPath Split(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(SystemPath(path).c_str(), &info) == 0;
}

// Names in `directory` equal to `name` without regard to case, sorted.
std::vector<std::string> MatchingEntries(const std::string& directory, const std::string& name) {
  std::vector<std::string> found;
  if (name.empty() || name == "." || name == "..") return found;
  DIR* dir = ::opendir(directory.empty() ? "." : SystemPath(directory).c_str());
  if (dir == nullptr) return found;
  while (const dirent* entry = ::readdir(dir)) {
    std::string entry_name = ProgramPath(entry->d_name);
    if (EqualIgnoringAsciiCase(entry_name, name)) found.push_back(std::move(entry_name));
  }
  ::closedir(dir);
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::optional<std::string> FindFileIgnoringCase(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (Exists(path)) return path;
  const SplitPath parts = Split(path);
  // Several spellings in one directory: the first in byte order, so the
  // choice does not depend on the directory's entry order.
  for (const std::string& entry : MatchingEntries(parts.directory, parts.name)) {
    std::string candidate = parts.directory + entry;
    if (Exists(candidate)) return candidate;
  }
  return std::nullopt;
}

bool FileExistsIgnoringCase(const std::string& path) {
  return FindFileIgnoringCase(path).has_value();
}

void RemoveFileIgnoringCase(const std::string& path) {
  if (path.empty()) return;
  ::unlink(SystemPath(path).c_str());
  const SplitPath parts = Split(path);
  for (const std::string& entry : MatchingEntries(parts.directory, parts.name)) {
    ::unlink(SystemPath(parts.directory + entry).c_str());
  }
}

bool RemoveFile(const std::string& path) {
  return ::unlink(SystemPath(path).c_str()) == 0;
}

bool CreateEmptyFile(const std::string& path) {
  const int fd = ::open(SystemPath(path).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (Split(path).name.find('.') != std::string::npos) return path;
  return path + extension;
}

std::string BaseNameWithoutExtension(const std::string& path) {
  std::string name = Split(path).name;
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

// The result is normalised: no empty, "." or ".." components.
std::string ExpandFileName(const std::string& path) {
  std::string full = path;
  if (full.empty() || full[0] != '/') {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
      if (errno != ERANGE) return path;
      buffer.resize(buffer.size() * 2);
    }
    full = ProgramPath(buffer.data()) + "/" + path;
  }
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= full.size()) {
    size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    std::string component = full.substr(start, end - start);
    if (component == "..") {
      if (!components.empty()) components.pop_back();
    } else if (!component.empty() && component != ".") {
      components.push_back(std::move(component));
    }
    start = end + 1;
  }
  const bool trailing_slash = full.size() > 1 && full.back() == '/';
  std::string result;
  for (const std::string& component : components) result.append(1, '/').append(component);
  if (components.empty() || trailing_slash) result.push_back('/');
  return result;
}

}  // namespace dbf
