#ifndef SALDEX_DBF_SYSTEM_PATH_H_
#define SALDEX_DBF_SYSTEM_PATH_H_

#include <string>
#include <string_view>

namespace dbf {

// File names are code page 1250 text inside the program, as every other
// text; the file system holds UTF-8 names. Every system call on a path takes
// SystemPath(path), and every name that comes from the file system (directory
// entries, the current directory, the executable's path) goes through
// ProgramPath before the program composes or shows it. Pure ASCII stays as
// it is; a character that code page 1250 cannot hold becomes '?', so such a
// file cannot be named by the program.
std::string SystemPath(std::string_view path);
std::string ProgramPath(std::string_view system_path);

}  // namespace dbf

#endif  // SALDEX_DBF_SYSTEM_PATH_H_
