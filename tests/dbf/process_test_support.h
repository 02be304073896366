#ifndef SALDEX_TESTS_DBF_PROCESS_TEST_SUPPORT_H_
#define SALDEX_TESTS_DBF_PROCESS_TEST_SUPPORT_H_

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace dbf::testing {

// A fresh directory under the test temporary directory, removed with its
// contents on destruction (only by the process that created it).
class ScratchDirectory {
 public:
  ScratchDirectory() : owner_(::getpid()) {
    static std::atomic<int> serial{0};
    path_ = ::testing::TempDir() + "saldex_locks_" + std::to_string(::getpid()) + "_" +
            std::to_string(serial++);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDirectory() {
    if (::getpid() == owner_) {
      std::error_code ignored;
      std::filesystem::remove_all(path_, ignored);
    }
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Creates `name` holding `bytes` and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return File(name);
  }

 private:
  std::string path_;
  pid_t owner_;
};

// A forked child running `body`; the exit code is body's result (0..255),
// 254 when it threw. Two pipes carry single bytes in each direction so that
// parent and child can wait for each other without timing assumptions. The
// child leaves through _exit() unless `normal_exit` asks for exit(), which
// runs the exit handlers.
class ChildProcess {
 public:
  class Channel {
   public:
    Channel(int read_fd, int write_fd) : read_fd_(read_fd), write_fd_(write_fd) {}
    void Send(char c) const {
      while (::write(write_fd_, &c, 1) < 0 && errno == EINTR) {
      }
    }
    // Returns '\0' when the other side has gone.
    char Receive() const {
      char c = 0;
      ssize_t n;
      while ((n = ::read(read_fd_, &c, 1)) < 0 && errno == EINTR) {
      }
      return n == 1 ? c : '\0';
    }

   private:
    int read_fd_;
    int write_fd_;
  };

  explicit ChildProcess(const std::function<int(const Channel&)>& body, bool normal_exit = false) {
    int to_child[2];
    int to_parent[2];
    if (::pipe(to_child) != 0 || ::pipe(to_parent) != 0) std::abort();
    std::fflush(nullptr);  // no buffered output is written twice
    pid_ = ::fork();
    if (pid_ < 0) std::abort();
    if (pid_ == 0) {
      ::close(to_child[1]);
      ::close(to_parent[0]);
      int code = 254;
      try {
        code = body(Channel(to_child[0], to_parent[1]));
      } catch (...) {
      }
      if (normal_exit) std::exit(code);
      ::_exit(code);
    }
    ::close(to_child[0]);
    ::close(to_parent[1]);
    read_fd_ = to_parent[0];
    write_fd_ = to_child[1];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !waited_) Wait();
    ::close(read_fd_);
    ::close(write_fd_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  Channel channel() const { return Channel(read_fd_, write_fd_); }
  void Send(char c) const { channel().Send(c); }
  char Receive() const { return channel().Receive(); }
  // Exit code, or 255 + signal when the child died by a signal.
  int Wait() {
    waited_ = true;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int read_fd_ = -1;
  int write_fd_ = -1;
  bool waited_ = false;
};

// Runs `body` in a forked child and returns its exit code.
inline int RunInChild(const std::function<int()>& body) {
  ChildProcess child([&](const ChildProcess::Channel&) { return body(); });
  return child.Wait();
}

// True when a write lock on [offset, offset + length) of `path` would
// conflict with a lock held through another open file description. Asks
// F_OFD_GETLK and confirms with a non-blocking F_OFD_SETLK (released again).
// Must run in a process that holds no lock on the file through `path`.
inline bool RangeIsLocked(const std::string& path, uint64_t offset, uint64_t length,
                          short type = F_WRLCK) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) std::abort();
  struct flock query = {};
  query.l_type = type;
  query.l_whence = SEEK_SET;
  query.l_start = static_cast<off_t>(offset);
  query.l_len = static_cast<off_t>(length);
  if (::fcntl(fd, F_OFD_GETLK, &query) != 0) std::abort();
  const bool reported = query.l_type != F_UNLCK;
  struct flock take = {};
  take.l_type = type;
  take.l_whence = SEEK_SET;
  take.l_start = static_cast<off_t>(offset);
  take.l_len = static_cast<off_t>(length);
  const bool refused = ::fcntl(fd, F_OFD_SETLK, &take) != 0;
  ::close(fd);
  if (reported != refused) std::abort();  // the two ways of asking disagree
  return refused;
}

// RangeIsLocked asked from a separate process.
inline bool RangeIsLockedForOtherProcess(const std::string& path, uint64_t offset, uint64_t length,
                                         short type = F_WRLCK) {
  const int code = RunInChild([&] { return RangeIsLocked(path, offset, length, type) ? 1 : 0; });
  if (code > 1) std::abort();
  return code == 1;
}

}  // namespace dbf::testing

#endif  // SALDEX_TESTS_DBF_PROCESS_TEST_SUPPORT_H_
