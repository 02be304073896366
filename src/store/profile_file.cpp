#include "store/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "dbf/ascii_text.h"
#include "dbf/system_path.h"

namespace store {
namespace {

// One line of the text: [begin, end) without its terminator, `next` after it.
struct Line {
  size_t begin;
  size_t end;
  size_t next;
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t newline = text.find('\n', begin);
    if (newline == std::string::npos) {
      lines.push_back({begin, text.size(), text.size()});
      break;
    }
    lines.push_back({begin, newline, newline + 1});
    begin = newline + 1;
  }
  return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = dbf::Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const size_t close = line.find(']');
  return dbf::Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyValue> KeyValueOf(std::string_view line) {
  line = dbf::Trim(line);
  if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyValue{dbf::Trim(line.substr(0, equals)), dbf::Trim(line.substr(equals + 1))};
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Lines of the first section called `section`: [first, last) line numbers
// after its header; nullopt when there is none.
struct SectionRange {
  size_t header;
  size_t first;
  size_t last;
};

std::optional<SectionRange> FindSection(const std::string& text, const std::vector<Line>& lines,
                                        std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line(text.data() + lines[i].begin, lines[i].end - lines[i].begin);
    const auto name = SectionName(line);
    if (!name || !dbf::EqualsIgnoringCase(*name, section)) continue;
    size_t last = i + 1;
    while (last < lines.size()) {
      const std::string_view next(text.data() + lines[last].begin,
                                  lines[last].end - lines[last].begin);
      if (SectionName(next)) break;
      ++last;
    }
    return SectionRange{i, i + 1, last};
  }
  return std::nullopt;
}

std::string LineBreakOf(const std::string& text) {
  const size_t newline = text.find('\n');
  if (newline != std::string::npos && newline > 0 && text[newline - 1] == '\r') return "\r\n";
  return "\n";
}

std::string Directory(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

[[noreturn]] void WriteFailed(const std::string& path) {
  throw std::runtime_error("Unable to write to " + path);
}

}  // namespace

ProfileFile ProfileFile::Load(const std::string& path) {
  const std::string system_path = dbf::SystemPath(path);
  std::ifstream in(system_path, std::ios::binary);
  if (!in) {
    struct stat info;
    if (::stat(system_path.c_str(), &info) != 0 && errno == ENOENT) return ProfileFile();
    throw std::runtime_error("Unable to read " + path);
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return ProfileFile(bytes.str());
}

void ProfileFile::Save(const std::string& path) const {
  // Write through a symbolic link to the file it names.
  std::string target = dbf::SystemPath(path);
  if (char* resolved = ::realpath(target.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  std::string temp = Directory(target) + ".Korvana.ini.XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) WriteFailed(path);
  struct stat info;
  const mode_t mode = ::stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0;
  size_t written = 0;
  while (ok && written < text_.size()) {
    const ssize_t n = ::write(fd, text_.data() + written, text_.size() - written);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) written += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    WriteFailed(path);
  }
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  const std::vector<Line> lines = SplitLines(text_);
  const auto range = FindSection(text_, lines, section);
  if (!range) return std::nullopt;
  for (size_t i = range->first; i < range->last; ++i) {
    const std::string_view line(text_.data() + lines[i].begin, lines[i].end - lines[i].begin);
    const auto entry = KeyValueOf(line);
    if (!entry || !dbf::EqualsIgnoringCase(entry->key, key)) continue;
    const std::string_view value = Unquoted(entry->value);
    return std::string(value.substr(0, kMaxValueLength));
  }
  return std::nullopt;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  auto value = Read(section, key);
  return value ? std::move(*value) : std::string(default_value);
}

void ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::string line_break = LineBreakOf(text_);
  const std::string entry = std::string(key) + "=" + std::string(value);
  const std::vector<Line> lines = SplitLines(text_);
  const auto range = FindSection(text_, lines, section);
  if (!range) {
    if (!text_.empty() && text_.back() != '\n') text_ += line_break;
    text_ += "[" + std::string(section) + "]" + line_break + entry + line_break;
    return;
  }
  size_t last_filled = range->header;
  for (size_t i = range->first; i < range->last; ++i) {
    const std::string_view line(text_.data() + lines[i].begin, lines[i].end - lines[i].begin);
    if (!dbf::Trim(line).empty()) last_filled = i;
    const auto found = KeyValueOf(line);
    if (!found || !dbf::EqualsIgnoringCase(found->key, key)) continue;
    // Keep a trailing '\r' of a CRLF line.
    size_t end = lines[i].end;
    if (end > lines[i].begin && text_[end - 1] == '\r') --end;
    text_.replace(lines[i].begin, end - lines[i].begin, entry);
    return;
  }
  const Line& after = lines[last_filled];
  if (after.next == after.end) {  // the last line of the text has no line break
    text_ += line_break + entry + line_break;
  } else {
    text_.insert(after.next, entry + line_break);
  }
}

}  // namespace store
