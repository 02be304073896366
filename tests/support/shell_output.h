#ifndef SALDEX_TESTS_SUPPORT_SHELL_OUTPUT_H_
#define SALDEX_TESTS_SUPPORT_SHELL_OUTPUT_H_

// Runs a shell command line (an independent reader of our files, such as
// pdftotext or python3) and returns what it wrote to standard output.

#include <cstdio>
#include <string>

namespace testing_support {

inline std::string ShellOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_SUPPORT_SHELL_OUTPUT_H_
