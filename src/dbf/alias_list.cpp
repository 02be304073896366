#include "dbf/alias_list.h"

#include <unistd.h>

#include <cctype>
#include <fstream>
#include <optional>

#include "dbf/ascii_text.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"

namespace dbf {
namespace {

std::string& ConfigDirectoryStorage() {
  static std::string directory = "/etc";
  return directory;
}

}  // namespace

AliasList& AliasList::Global() {
  static AliasList* list = [] {
    auto* created = new AliasList;
    created->LoadFrom(ConfigDirectoryStorage());
    return created;
  }();
  return *list;
}

void AliasList::SetConfigDirectory(const std::string& directory) {
  ConfigDirectoryStorage() = directory;
  Global().LoadFrom(directory);
}

const std::string& AliasList::ConfigDirectory() {
  return ConfigDirectoryStorage();
}

void AliasList::LoadFrom(const std::string& directory) {
  lines_.clear();
  std::string path = directory;
  if (!path.empty() && path.back() != '/') path += '/';
  path += "tabulon.cfg";
  const std::optional<std::string> found = FindFileIgnoringCase(path);
  if (!found) return;
  std::ifstream in(SystemPath(*found), std::ios::binary);
  std::string line;
  bool in_section = false;
  while (std::getline(in, line)) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';') continue;
    if (text.front() == '[') {
      const size_t close = text.find(']');
      in_section = close != std::string_view::npos &&
                   EqualsIgnoringCase(Trim(text.substr(1, close - 1)), "Alias");
      continue;
    }
    if (!in_section) continue;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    lines_.emplace_back(std::string(Trim(text.substr(0, equals))),
                        std::string(Trim(text.substr(equals + 1))));
  }
}

bool AliasList::Contains(std::string_view name) const {
  for (const auto& line : lines_) {
    if (EqualsIgnoringCase(line.first, name)) return true;
  }
  return false;
}

std::string AliasList::Value(std::string_view name) const {
  for (const auto& line : lines_) {
    if (EqualsIgnoringCase(line.first, name)) return line.second;
  }
  return std::string();
}

void AliasList::Set(std::string_view name, std::string_view path) {
  for (auto& line : lines_) {
    if (EqualsIgnoringCase(line.first, name)) {
      line.second = std::string(path);
      return;
    }
  }
  lines_.emplace_back(std::string(name), std::string(path));
}

std::string ProgramDirectory() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return "./";
  buffer.resize(static_cast<size_t>(length));
  const size_t slash = buffer.rfind('/');
  return slash == std::string::npos ? std::string("./") : ProgramPath(buffer.substr(0, slash + 1));
}

}  // namespace dbf
