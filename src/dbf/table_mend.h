#ifndef SALDEX_DBF_TABLE_MEND_H_
#define SALDEX_DBF_TABLE_MEND_H_

#include <cstdint>
#include <string>

namespace dbf {

// What MendTableFile found and did.
struct TableMendReport {
  std::string path;                   // the table file
  std::string backup_path;            // the copy made before the first change; empty when none
  uint32_t record_count = 0;          // whole records in the file
  uint32_t old_header_count = 0;      // record count the header held
  uint64_t partial_record_bytes = 0;  // bytes of a cut record removed
  bool end_mark_added = false;        // 0x1A written after the last record
  bool changed() const { return !backup_path.empty(); }
};

// Mends a table damaged by a writer that stopped part way: cuts the bytes
// after the last whole record when they are anything but one end-of-file
// mark (the remains of a cut record) and puts 0x1A after the last record,
// and sets the header record count (bytes 4-7) to the number of whole records
// (the file size decides, as on every open). Nothing else of the header
// changes. Before the first change the file is copied byte for byte to
// path + ".bak"; a sound table is left alone and no copy is made.
//
// The table is opened exclusively, so no other program may have it open.
// Raises DbfError for a file it cannot mend: the open errors of DbfFile
// (missing, access denied, invalid header, encrypted), "Cannot mend %s: the
// file ends inside its header", "Cannot mend %s: the backup %s exists
// already" (an earlier backup is never overwritten), and write errors.
TableMendReport MendTableFile(const std::string& path);

}  // namespace dbf

#endif  // SALDEX_DBF_TABLE_MEND_H_
