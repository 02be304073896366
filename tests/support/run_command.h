#ifndef SALDEX_TESTS_SUPPORT_RUN_COMMAND_H_
#define SALDEX_TESTS_SUPPORT_RUN_COMMAND_H_

// Runs one of the project's tools and collects its output and exit status.

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ToolPath(const std::string& tool) {
  return std::string(SALDEX_TOOLS_DIR) + "/" + tool;
}

// Runs `program` with `args` (no shell); stdout and stderr are captured.
// `in_child`, when given, runs in the child before the program starts (a
// change of directory or user); its false ends the child with status 126.
inline CommandResult RunTool(const std::string& program, const std::vector<std::string>& args,
                             const std::function<bool()>& in_child = {}) {
  char out_name[] = "/tmp/saldex-out-XXXXXX";
  char err_name[] = "/tmp/saldex-err-XXXXXX";
  const int out_fd = mkstemp(out_name);
  const int err_fd = mkstemp(err_name);
  CommandResult result;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    if (in_child && !in_child()) _exit(126);
    std::vector<char*> argv;
    std::string path = ToolPath(program);
    argv.push_back(path.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  auto slurp = [](const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  result.out = slurp(out_name);
  result.err = slurp(err_name);
  close(out_fd);
  close(err_fd);
  unlink(out_name);
  unlink(err_name);
  return result;
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_SUPPORT_RUN_COMMAND_H_
