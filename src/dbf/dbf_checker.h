#ifndef SALDEX_DBF_DBF_CHECKER_H_
#define SALDEX_DBF_DBF_CHECKER_H_

#include <string>
#include <vector>

namespace dbf {

struct TableCheckReport {
  std::vector<std::string> faults;  // damage: the table does not read as written
  std::vector<std::string> notes;   // legal but unusual
  bool clean() const { return faults.empty(); }
};

// Checks a table file's header, field descriptors and record area against
// each other, reading the raw bytes (a table too damaged to open is still
// checked). Faults: a version byte not accepted, a header length below its
// fixed part or not a whole number of descriptors beyond it, a record length
// of 0, a missing header terminator 0x0D (or one standing before the last
// descriptor), a field of width 0, fields reaching past the record length, a
// file ending inside its header, bytes after the last whole record other than
// one end-of-file mark, a header record count other than the count of whole
// records. Raises the file layer's open errors ("File %s could not be found",
// "Access denied to file %s").
TableCheckReport CheckTableFile(const std::string& path);

}  // namespace dbf

#endif  // SALDEX_DBF_DBF_CHECKER_H_
