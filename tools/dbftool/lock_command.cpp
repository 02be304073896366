// dbftool lock TABLE.dbf RECNO [--protocol P] --hold SECONDS: takes the record
// lock as Edit does, prints "locked" once it holds it and keeps it for
// SECONDS, or until standard input reaches end of file when it is a pipe or
// a socket (so a test can release it at a moment of its choosing).

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "command.h"
#include "dbf/data_set.h"
#include "table_writer.h"

namespace dbftool {
namespace {

bool StdinIsPipe() {
  struct stat st;
  return fstat(STDIN_FILENO, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}

// Waits `seconds`, or less when standard input is a pipe that reaches EOF.
void Hold(double seconds) {
  using Clock = std::chrono::steady_clock;
  const auto until = Clock::now() + std::chrono::duration<double>(seconds);
  const bool watch = StdinIsPipe();
  char buffer[256];
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return;
    if (!watch) {
      usleep(static_cast<useconds_t>(std::min<long long>(left, 1000) * 1000));
      continue;
    }
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready > 0 && read(STDIN_FILENO, buffer, sizeof buffer) <= 0) return;
  }
}

int RunLock(const std::vector<std::string>& args) {
  const auto parsed = ParseWriteArgs(args, false, true);
  if (!parsed || parsed->words.size() != 1 || !parsed->hold_seconds) return Usage("lock");
  const auto recno = ParseRecno(parsed->words[0]);
  if (!recno) return Usage("lock");
  dbf::DbfDataSet table;
  OpenTable(table, parsed->table, parsed->protocol, parsed->index);
  table.SetRecNo(*recno);
  table.Edit();
  std::puts("locked");
  std::fflush(stdout);
  Hold(*parsed->hold_seconds);
  table.Cancel();
  return 0;
}

const CommandRegistration kLock(
    {"lock",
     "lock TABLE.dbf RECNO [--protocol default|db4|clip|fox] [--index INDEX.cdx] --hold SECONDS",
     RunLock});

}  // namespace
}  // namespace dbftool
