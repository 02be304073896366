#ifndef SALDEX_TOOLS_DBFTOOL_TABLE_WRITER_H_
#define SALDEX_TOOLS_DBFTOOL_TABLE_WRITER_H_

#include <optional>
#include <string>
#include <vector>

#include "dbf/data_set.h"

namespace dbftool {

// Arguments shared by the write commands: the table, positional words,
// FIELD=VALUE assignments and "--protocol default|db4|clip|fox".
struct WriteArgs {
  std::string table;
  std::vector<std::string> words;                           // after the table
  std::vector<std::pair<std::string, std::string>> values;  // FIELD=VALUE, UTF-8
  dbf::LockProtocol protocol = dbf::LockProtocol::kDefault;
  std::optional<double> hold_seconds;  // lock --hold
  std::string index;                   // --index INDEX.cdx: kept current by the writes
};

// Returns nullopt on a malformed command line.
std::optional<WriteArgs> ParseWriteArgs(const std::vector<std::string>& args, bool with_values,
                                        bool with_hold);

// Sets DatabaseName and TableName of a closed cursor from a path.
void SetTablePath(dbf::DbfDataSet& table, const std::string& path);

// Opens a shared cursor on `path` (directory and file name) with `protocol`; with `index` the
// compound index file is attached, so record locks use the offsets of a table with an index
// open and every tag is kept current by the writes. REQUIRES: `table` is a new cursor.
void OpenTable(dbf::DbfDataSet& table, const std::string& path, dbf::LockProtocol protocol,
               const std::string& index = "");

// Parses a record number; nullopt unless a positive decimal number.
std::optional<uint32_t> ParseRecno(const std::string& text);

// Writes each FIELD=VALUE into the current record as that field's kind
// converts text (UTF-8 turned into code page 1250 first); dates may also be
// given as YYYY-MM-DD.
void PutValues(dbf::DbfDataSet& table,
               const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace dbftool

#endif  // SALDEX_TOOLS_DBFTOOL_TABLE_WRITER_H_
