#ifndef SALDEX_STORE_CURSOR_INDEX_H_
#define SALDEX_STORE_CURSOR_INDEX_H_

#include <string>
#include <vector>

#include "dbf/data_set.h"

namespace store {

// The compound-index operations the store data module performs on a table's
// cursor, gathered in one place: opening and closing index files, selecting
// a tag, building a tag, and the plain Locate of the sign-in. Every routine of
// the data module goes through these, never around them.

// 0 when opened, -1 when that file is already open on the table. ".cdx" is
// added when the name has no extension; a name without a directory is taken
// from the table's directory. Raises the index layer's open errors.
int OpenIndexFile(dbf::DbfDataSet& table, const std::string& file_name);
// Closes the file of that name (ignored when it is not open); a tag selected
// in it falls back to natural order.
void CloseIndexFile(dbf::DbfDataSet& table, const std::string& file_name);
// Empty name: natural order. Otherwise raises "Cannot find index tag %s"
// when no open index file holds the tag.
void SelectTag(dbf::DbfDataSet& table, const std::string& tag_name);
// The selected tag's name as it was set; empty in natural order.
std::string SelectedTagName(const dbf::DbfDataSet& table);
// Number of tags over all open index files.
int TagCount(const dbf::DbfDataSet& table);
// Paths of the index files open on the table, in slot order.
std::vector<std::string> OpenIndexFilePaths(const dbf::DbfDataSet& table);

// Builds one tag from every record (the file is created when missing); every
// index file of the table is closed first and none is open afterwards.
// Progress goes to the table's OnStatus.
void CreateTag(dbf::DbfDataSet& table, const std::string& file_name, const std::string& tag_name,
               const std::string& key_expression, const std::string& for_expression, bool unique,
               bool descending);

// Closes the table together with its index files.
void CloseTable(dbf::DbfDataSet& table);

// Locate without options on one character field: the first record, in the
// current order, whose field text equals `value` (ANSI text, compared
// without trailing blanks). Found: the cursor moves there; not found: the
// cursor stays. Returns whether a record was found.
bool LocateText(dbf::DbfDataSet& table, const std::string& field_name, const std::string& value);

}  // namespace store

#endif  // SALDEX_STORE_CURSOR_INDEX_H_
