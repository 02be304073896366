#include "reports/text_dump.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "reports/value_text.h"

namespace reports {
namespace {

std::string Quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '%':
        out += "%%";
        break;
      case '\r':
        out += "%c";
        break;
      case '\n':
        out += "%n";
        break;
      case '\0':
        out += "%0";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string DumpValue(const MemField& field) {
  if (field.IsNull()) return {};
  switch (field.kind()) {
    case MemFieldKind::kString:
      return QuotedDumpText(field.AsString());
    case MemFieldKind::kDateTime:
      return Quoted(DumpDateTimeText(field.AsDateTime()));
    case MemFieldKind::kFloat:
      return Quoted(GeneralFloatText(field.AsFloat()));
  }
  return {};
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string QuotedDumpText(std::string_view text) {
  return Quoted(Escaped(text));
}

std::string TextDumpHeader(const MemTable& table) {
  std::string line;
  for (int i = 0; i < table.field_count(); ++i) line += Quoted(table.field(i).name()) + ",";
  return line + "\r\n";
}

std::string TextDumpLine(const MemTable& table) {
  std::string line;
  for (int i = 0; i < table.field_count(); ++i) line += DumpValue(table.field(i)) + ",";
  return line + "\r\n";
}

void MemTable::SaveToFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error("Cannot create file " + path + ". " + std::strerror(errno));
  auto write = [&](const std::string& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
      throw std::runtime_error("Cannot write file " + path + ". " + std::strerror(errno));
    }
  };
  write(TextDumpHeader(*this));
  if (active_) {
    // The cursor goes back where it was, also when a write fails.
    struct Restore {
      MemTable& table;
      size_t kept;
      ~Restore() { table.current_ = kept; }
    } restore{*this, current_};
    for (First(); !Eof(); Next()) write(TextDumpLine(*this));
  }
  if (std::fclose(file.release()) != 0) {
    throw std::runtime_error("Cannot write file " + path + ". " + std::strerror(errno));
  }
}

}  // namespace reports
