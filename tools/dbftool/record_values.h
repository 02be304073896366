#ifndef SALDEX_TOOLS_DBFTOOL_RECORD_VALUES_H_
#define SALDEX_TOOLS_DBFTOOL_RECORD_VALUES_H_

#include <nlohmann/json.hpp>
#include <string>

#include "dbf/dbf_file.h"

namespace dbftool {

// The current record of `table` as one JSON object: "_recno", "_deleted" and
// every field by name (text decoded from code page 852 to UTF-8 without
// trailing blanks; numbers as numbers; D "YYYY-MM-DD", T
// "YYYY-MM-DDTHH:MM:SS" or null; L true/false).
nlohmann::ordered_json RecordToJson(const dbf::DbfFile& table);

// One field of the current record as display text (UTF-8).
std::string FieldText(const dbf::DbfFile& table, int field);

// A table line: record number, deletion flag and every field, " | " apart.
std::string RecordLine(const dbf::DbfFile& table);

}  // namespace dbftool

#endif  // SALDEX_TOOLS_DBFTOOL_RECORD_VALUES_H_
