#ifndef SALDEX_TESTS_STORE_UNPRIVILEGED_USER_H_
#define SALDEX_TESTS_STORE_UNPRIVILEGED_USER_H_

// Running a tool or a piece of a test as the unprivileged user "nobody", for
// the cases where permissions must really refuse: the super-user is allowed
// to write everywhere. Only a test run by the super-user can switch users;
// the others skip (GTEST_SKIP when !CanSwitchUser()).

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dbf/process_test_support.h"
#include "support/run_command.h"

namespace testing_support {

inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNoGroup = 65534;

inline bool CanSwitchUser() {
  return ::geteuid() == 0;
}

// In a child process about to do work as nobody. False when it cannot.
inline bool BecomeNobody() {
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNoGroup) == 0 && ::setuid(kNobody) == 0;
}

// Everything under `root` (and `root` itself) readable by all and writable by
// none: files 444, directories 555 (`writable` undoes it: 644 and 755).
inline void SetTreeMode(const std::string& root, bool writable) {
  namespace fs = std::filesystem;
  const auto mode = [writable](const fs::path& path) {
    ::chmod(path.c_str(),
            fs::is_directory(path) ? (writable ? 0755 : 0555) : (writable ? 0644 : 0444));
  };
  mode(root);
  for (const auto& entry : fs::recursive_directory_iterator(root)) mode(entry.path());
}

// Runs `body` in a child process as nobody; its result is the exit status
// (255 when the switch failed).
inline int RunAsNobody(const std::function<int()>& body) {
  dbf::testing::ChildProcess child([&body](const dbf::testing::ChildProcess::Channel&) {
    return BecomeNobody() ? body() : 255;
  });
  return child.Wait();
}

// RunTool as nobody, in the working directory `cwd`.
inline CommandResult RunToolAsNobody(const std::string& program,
                                     const std::vector<std::string>& args, const std::string& cwd) {
  return RunTool(program, args, [&cwd] { return ::chdir(cwd.c_str()) == 0 && BecomeNobody(); });
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_STORE_UNPRIVILEGED_USER_H_
