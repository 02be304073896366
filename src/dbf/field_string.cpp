#include "dbf/field_string.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "dbf/errors.h"
#include "dbf/format_settings.h"

namespace dbf {

std::string FieldStringForm(const FieldDescriptor& f, const uint8_t* rec, uint8_t version,
                            const std::string& table) {
  switch (f.type) {
    case 'C':
      return std::string(codec::TrimmedText(f, rec));
    case 'N':
    case 'F': {
      std::string_view text = codec::TrimmedText(f, rec);
      while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
      if (text.empty()) return codec::FormatFixed(0.0, f.decimals);
      return std::string(text);
    }
    case 'L':
      return codec::DecodeLogical(f, rec) ? "T" : "F";
    case 'D': {
      const auto date = codec::DecodeDate(f, rec);
      return date ? FormatShortDate(*date, true) : std::string();
    }
    default:
      break;
  }
  if (version == 0x30) {
    switch (f.type) {
      case 'I':
        return std::to_string(static_cast<int64_t>(codec::DecodeNumber(f, rec, table, version)));
      case 'Y':
        return codec::FormatFixed(codec::DecodeNumber(f, rec, table, version), 4);
      case 'B': {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", codec::DecodeNumber(f, rec, table, version));
        return buf;
      }
      case 'T': {
        const auto value = codec::DecodeDateTime(f, rec);
        if (!value) return std::string();
        const CivilDate d = CivilFromDays(static_cast<int64_t>(std::floor(*value)));
        const int64_t ms = static_cast<int64_t>((*value - std::floor(*value)) * 86400000.0 + 0.5);
        char buf[32];
        std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", static_cast<int>(ms / 3600000),
                      static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
        return FormatShortDate(d, true) + buf;
      }
      case 'M':
      case 'G':
        return std::to_string(static_cast<int64_t>(codec::DecodeNumber(
            FieldDescriptor{f.name, 'I', f.width, 0, f.offset, f.number}, rec, table, 0x30)));
      default:
        break;
    }
  }
  std::string_view text = codec::TrimmedText(f, rec);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return std::string(text);
}

void PutFieldString(const FieldDescriptor& f, uint8_t* record, std::string_view text,
                    uint8_t version, const std::string& table) {
  switch (f.type) {
    case 'C':
      return codec::EncodeRaw(f, record, text);
    case 'L': {
      bool value = false;
      if (!text.empty() && text[0] != '\0' && std::strchr("TtYyJj", text[0])) {
        value = true;
      } else if (!text.empty() && text[0] != '\0' && std::strchr("FfNn", text[0])) {
        value = false;
      } else if (!text.empty()) {
        const auto number = ParseLocaleNumber(text);
        if (!number) {
          throw DbfError(FormatMessage("Invalid %s value for field %s", "Logical", f.name));
        }
        value = *number != 0.0;
      }
      return codec::EncodeLogical(f, record, value);
    }
    case 'D': {
      if (text.empty()) return codec::EncodeRaw(f, record, "");
      auto date = ParseYyyymmdd(text);
      if (!date) date = ParseShortDate(text);
      if (!date) {
        throw DbfError(FormatMessage("Invalid date in field %s",
                                     table + "->" + f.name + " (" + std::string(text) + ")"));
      }
      return codec::EncodeDate(f, record, date);
    }
    default: {
      double value = 0.0;
      if (!text.empty()) {
        const auto number = ParseLocaleNumber(text);
        if (!number) {
          throw DbfError(FormatMessage("Invalid %s value for field %s", "Number", f.name));
        }
        value = *number;
      }
      return codec::EncodeNumber(f, record, value, version);
    }
  }
}

}  // namespace dbf
