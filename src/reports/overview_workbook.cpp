#include "reports/overview_workbook.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "dbf/charset_tables.h"
#include "dbf/format_settings.h"
#include "reports/value_text.h"

namespace reports {
namespace {

constexpr const char* kDateFormat = "dd.mm.yyyy";

// Characters of a UTF-8 text.
size_t Characters(const std::string& utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The text a cell shows, for the column width.
size_t ShownLength(const MemField& field) {
  if (field.IsNull()) return 0;
  switch (field.kind()) {
    case MemFieldKind::kString:
      return Characters(dbf::Cp1250ToUtf8(field.AsString()));
    case MemFieldKind::kDateTime:
      return std::char_traits<char>::length("dd.mm.yyyy");
    case MemFieldKind::kFloat:
      return GeneralFloatText(field.AsFloat()).size();
  }
  return 0;
}

void Check(lxw_error error) {
  if (error != LXW_NO_ERROR) throw std::runtime_error(lxw_strerror(error));
}

struct WorkbookCloser {
  void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" of user-dirs.dirs.
std::string UserDirsDocuments(const std::string& home) {
  std::ifstream in(home + "/.config/user-dirs.dirs");
  std::string line;
  const std::string key = "XDG_DOCUMENTS_DIR=";
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
    return value;
  }
  return {};
}

}  // namespace

std::string DocumentsDirectory() {
  if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg != nullptr && *xdg != '\0') {
    return WithSlash(xdg);
  }
  const char* home_variable = std::getenv("HOME");
  const std::string home = home_variable != nullptr ? home_variable : "";
  const std::string configured = home.empty() ? std::string() : UserDirsDocuments(home);
  if (!configured.empty()) return WithSlash(configured);
  return WithSlash(home) + "Documents/";
}

std::string WorkbookPath(const std::string& directory, const dbf::CivilDate& today) {
  char date[16];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", today.day, today.month, today.year);
  const std::string dir = directory.empty() ? DocumentsDirectory() : WithSlash(directory);
  return dir + "Přehled faktur k " + date + ".xlsx";
}

void WriteWorkbook(MemTable& rows, const std::string& path) {
  // Rows are written in order, so the writer streams them through a
  // temporary file instead of holding every cell.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(workbook_new_opt(path.c_str(), &options));
  if (!workbook) throw std::runtime_error("Cannot create workbook " + path);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), nullptr);
  lxw_format* heading = workbook_add_format(workbook.get());
  lxw_format* date = workbook_add_format(workbook.get());
  if (sheet == nullptr || heading == nullptr || date == nullptr) {
    throw std::runtime_error("Cannot create workbook " + path);
  }
  format_set_bold(heading);
  format_set_align(heading, LXW_ALIGN_CENTER);
  format_set_num_format(date, kDateFormat);

  const size_t kept = rows.position();
  const int columns = rows.field_count();
  std::vector<size_t> widths(columns);
  for (int c = 0; c < columns; ++c) widths[c] = rows.field(c).name().size();
  for (rows.First(); !rows.Eof(); rows.Next()) {
    for (int c = 0; c < columns; ++c) widths[c] = std::max(widths[c], ShownLength(rows.field(c)));
  }
  for (int c = 0; c < columns; ++c) {
    // One character more than the longest text leaves room for the cell padding.
    Check(worksheet_set_column(sheet, c, c, static_cast<double>(widths[c] + 1), nullptr));
  }

  for (int c = 0; c < columns; ++c) {
    Check(worksheet_write_string(sheet, 0, c, dbf::Cp1250ToUtf8(rows.field(c).name()).c_str(),
                                 heading));
  }
  lxw_row_t row = 1;
  for (rows.First(); !rows.Eof(); rows.Next(), ++row) {
    for (int c = 0; c < columns; ++c) {
      const MemField& field = rows.field(c);
      if (field.IsNull()) continue;
      switch (field.kind()) {
        case MemFieldKind::kString: {
          const std::string text = dbf::Cp1250ToUtf8(field.AsString());
          if (!text.empty()) Check(worksheet_write_string(sheet, row, c, text.c_str(), nullptr));
          break;
        }
        case MemFieldKind::kDateTime:
          // Serial dates count days from 30 December 1899, as DateTime does.
          Check(worksheet_write_number(sheet, row, c, field.AsDateTime(), date));
          break;
        case MemFieldKind::kFloat:
          Check(worksheet_write_number(sheet, row, c, field.AsFloat(), nullptr));
          break;
      }
    }
  }
  rows.SetPosition(kept);
  Check(workbook_close(workbook.release()));
}

}  // namespace reports
