#include "record_values.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dbf/charset_tables.h"
#include "dbf/field_codec.h"

namespace dbftool {
namespace {

std::string IsoDate(const dbf::CivilDate& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

std::string IsoDateTime(dbf::DateTime value) {
  const double day = std::floor(value);
  const auto ms = static_cast<int64_t>(std::llround((value - day) * 86400000.0));
  char buf[16];
  std::snprintf(buf, sizeof buf, "T%02d:%02d:%02d", static_cast<int>(ms / 3600000),
                static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
  return IsoDate(dbf::CivilFromDays(static_cast<int64_t>(day))) + buf;
}

bool IsNumberType(char type, uint8_t version) {
  return type == 'N' || type == 'F' ||
         (version == 0x30 && (type == 'I' || type == 'B' || type == 'Y'));
}

}  // namespace

nlohmann::ordered_json RecordToJson(const dbf::DbfFile& table) {
  nlohmann::ordered_json out;
  out["_recno"] = table.recno();
  out["_deleted"] = table.deleted();
  const uint8_t* rec = table.record();
  for (const dbf::FieldDescriptor& f : table.fields()) {
    if (!dbf::IsKnownFieldType(f.type, table.version())) continue;
    nlohmann::ordered_json& v = out[f.name];
    if (f.type == 'C') {
      v = dbf::Cp852ToUtf8(dbf::codec::TrimmedText(f, rec));
    } else if (IsNumberType(f.type, table.version())) {
      const double n = dbf::codec::DecodeNumber(f, rec, table.table_name(), table.version());
      if (f.decimals == 0 && std::fabs(n) < 9e15 && n == std::trunc(n)) {
        v = static_cast<int64_t>(n);
      } else {
        v = n;
      }
    } else if (f.type == 'D') {
      const auto d = dbf::codec::DecodeDate(f, rec);
      v = d ? nlohmann::ordered_json(IsoDate(*d)) : nlohmann::ordered_json(nullptr);
    } else if (f.type == 'T' && table.version() == 0x30) {
      const auto t = dbf::codec::DecodeDateTime(f, rec);
      v = t ? nlohmann::ordered_json(IsoDateTime(*t)) : nlohmann::ordered_json(nullptr);
    } else if (f.type == 'L') {
      v = dbf::codec::DecodeLogical(f, rec);
    } else {  // memo and general fields: their block number
      v = std::strtoll(table.GetString(f.number).c_str(), nullptr, 10);
    }
  }
  return out;
}

std::string FieldText(const dbf::DbfFile& table, int field) {
  const dbf::FieldDescriptor& f = table.field(field);
  const uint8_t* rec = table.record();
  switch (f.type) {
    case 'C':
      return dbf::Cp852ToUtf8(dbf::codec::TrimmedText(f, rec));
    case 'D': {
      const auto d = dbf::codec::DecodeDate(f, rec);
      return d ? IsoDate(*d) : std::string();
    }
    default:
      return dbf::Cp852ToUtf8(table.GetString(field));
  }
}

std::string RecordLine(const dbf::DbfFile& table) {
  char head[32];
  std::snprintf(head, sizeof head, "%7u %c", table.recno(), table.deleted() ? '*' : ' ');
  std::string line = head;
  for (const dbf::FieldDescriptor& f : table.fields()) {
    if (!dbf::IsKnownFieldType(f.type, table.version())) continue;
    line += f.number == 1 ? " " : " | ";
    line += FieldText(table, f.number);
  }
  return line;
}

}  // namespace dbftool
