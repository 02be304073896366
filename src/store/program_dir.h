#ifndef SALDEX_STORE_PROGRAM_DIR_H_
#define SALDEX_STORE_PROGRAM_DIR_H_

#include <string>

namespace store {

// Directory of the running executable (/proc/self/exe), ending with '/', as
// code page 1250 text like every path the program composes.
// Falls back to the current directory when the link cannot be read.
std::string ExecutableDirectory();

}  // namespace store

#endif  // SALDEX_STORE_PROGRAM_DIR_H_
