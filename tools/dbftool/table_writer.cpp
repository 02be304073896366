#include "table_writer.h"

#include <charconv>

#include "dbf/charset_tables.h"
#include "dbf/dates.h"
#include "dbf/system_path.h"
#include "index/cursor_index_support.h"

namespace dbftool {
namespace {

std::optional<dbf::LockProtocol> ParseProtocol(const std::string& name) {
  if (name == "default") return dbf::LockProtocol::kDefault;
  if (name == "db4") return dbf::LockProtocol::kDb4Lock;
  if (name == "clip") return dbf::LockProtocol::kClipLock;
  if (name == "fox") return dbf::LockProtocol::kFoxLock;
  return std::nullopt;
}

// "YYYY-MM-DD" as a calendar date.
std::optional<dbf::CivilDate> ParseIsoDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  return dbf::ParseYyyymmdd(text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2));
}

}  // namespace

std::optional<WriteArgs> ParseWriteArgs(const std::vector<std::string>& args, bool with_values,
                                        bool with_hold) {
  WriteArgs out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--protocol" && i + 1 < args.size()) {
      const auto protocol = ParseProtocol(args[++i]);
      if (!protocol) return std::nullopt;
      out.protocol = *protocol;
    } else if (a == "--index" && i + 1 < args.size()) {
      out.index = args[++i];
    } else if (with_hold && a == "--hold" && i + 1 < args.size()) {
      const std::string& text = args[++i];
      double seconds = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
      if (ec != std::errc() || end != text.data() + text.size() || seconds < 0) {
        return std::nullopt;
      }
      out.hold_seconds = seconds;
    } else if (a.starts_with("--")) {
      return std::nullopt;
    } else if (out.table.empty()) {
      out.table = a;
    } else if (with_values && a.find('=') != std::string::npos && a.find('=') > 0) {
      const size_t equals = a.find('=');
      out.values.emplace_back(a.substr(0, equals), a.substr(equals + 1));
    } else {
      out.words.push_back(a);
    }
  }
  if (out.table.empty()) return std::nullopt;
  return out;
}

void SetTablePath(dbf::DbfDataSet& table, const std::string& utf8_path) {
  const std::string path = dbf::ProgramPath(utf8_path);
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos) {
    table.SetDatabaseName(path.substr(0, slash + 1));
    table.SetTableName(path.substr(slash + 1));
  } else {
    table.SetTableName(path);
  }
}

void OpenTable(dbf::DbfDataSet& table, const std::string& path, dbf::LockProtocol protocol,
               const std::string& index) {
  SetTablePath(table, path);
  table.SetLockProtocol(protocol);
  if (!index.empty()) idx::InstallIndexSupport(table);
  table.Open();
  if (!index.empty()) table.OpenIndexFile(dbf::ProgramPath(index));
}

std::optional<uint32_t> ParseRecno(const std::string& text) {
  uint32_t recno = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), recno);
  if (ec != std::errc() || end != text.data() + text.size() || recno == 0) return std::nullopt;
  return recno;
}

void PutValues(dbf::DbfDataSet& table,
               const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    dbf::Field& field = table.FieldByName(name);
    const bool date_kind =
        field.kind() == dbf::FieldKind::kDate || field.kind() == dbf::FieldKind::kDateTime;
    if (date_kind) {
      if (const auto date = ParseIsoDate(value)) {
        field.SetAsDateTime(static_cast<double>(dbf::DaysFromCivil(*date)));
        continue;
      }
    }
    field.SetAsString(dbf::Utf8ToCp1250(value));
  }
}

}  // namespace dbftool
