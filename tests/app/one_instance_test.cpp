// TOneInstance: the block layout, one guard per process, and the protocol
// between real processes (tests/app/probe/one_instance_probe.cpp).

#include "app/one_instance.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QProcess>
#include <QString>
#include <stdexcept>

#include "app/instance_block.h"

namespace app {
namespace {

QString UniqueName() {
  static int counter = 0;
  return QStringLiteral("saldex-guard-test-%1-%2").arg(::getpid()).arg(++counter);
}

QString ProbePath() {
  return QStringLiteral(SALDEX_TOOLS_DIR "/one_instance_probe");
}

// Reads lines from a probe until one begins with `prefix`; empty when the
// probe ended first.
QString WaitForLine(QProcess& probe, const QString& prefix) {
  for (;;) {
    while (probe.canReadLine()) {
      const QString line = QString::fromLocal8Bit(probe.readLine()).trimmed();
      if (line.startsWith(prefix)) return line;
    }
    if (!probe.waitForReadyRead(30000)) return {};
  }
}

TEST(InstanceBlock, LayoutOfTheSharedBlock) {
  std::vector<uint8_t> block(instance_block::kSize, 0xEE);
  instance_block::WriteOwner(block.data(), 0x01020304);
  std::vector<std::string> arguments;
  for (int i = 1; i <= 12; ++i) arguments.push_back(std::string(i == 2 ? 350 : 3, 'a' + i));
  instance_block::WriteArguments(block.data(), arguments);
  int32_t value;
  std::memcpy(&value, block.data(), 4);
  EXPECT_EQ(value, 0x01020304);
  std::memcpy(&value, block.data() + 4, 4);
  EXPECT_EQ(value, 10);
  EXPECT_EQ(block[8], 'b');
  EXPECT_EQ(block[8 + 3], 0);
  EXPECT_EQ(block[8 + 301], 'c');
  EXPECT_EQ(block[8 + 301 + 299], 'c');
  EXPECT_EQ(block[8 + 301 + 300], 0);  // cut to 300 characters
  EXPECT_EQ(block[8 + 301 * 9], 'k');
  EXPECT_EQ(block.size(), 3018u);

  const auto read = instance_block::ReadArguments(block.data());
  ASSERT_EQ(read.size(), 10u);
  EXPECT_EQ(read[1], std::string(300, 'c'));
  EXPECT_EQ(read[9], "kkk");

  // A damaged count is clamped; a slot without its zero ends at 300 bytes.
  value = 99;
  std::memcpy(block.data() + 4, &value, 4);
  std::memset(block.data() + 8, 'z', 301);
  const auto damaged = instance_block::ReadArguments(block.data());
  ASSERT_EQ(damaged.size(), 10u);
  EXPECT_EQ(damaged[0], std::string(300, 'z'));
}

TEST(OneInstance, SecondGuardInOneProcessIsRefused) {
  TOneInstance first(UniqueName());
  try {
    TOneInstance second(UniqueName());
    FAIL() << "second guard accepted";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "Drop only one of these components on your form !");
  }
}

TEST(OneInstance, FirstStartIsTheRunningInstanceAndLeavesNothingBehind) {
  const QString name = UniqueName();
  {
    TOneInstance guard(name);
    guard.Start({});
    EXPECT_TRUE(guard.running_instance());
    EXPECT_FALSE(guard.handed_over());
    const int fd = ::shm_open(("/" + name.toStdString()).c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    ::close(fd);
  }
  EXPECT_LT(::shm_open(("/" + name.toStdString()).c_str(), O_RDONLY, 0), 0);
}

TEST(OneInstance, SecondProcessHandsTenArgumentsCutTo300AndEndsWithZero) {
  const QString name = UniqueName();
  QProcess first;
  first.start(ProbePath(), {name});
  ASSERT_TRUE(WaitForLine(first, "running").startsWith("running"));

  QStringList arguments{name};
  for (int i = 1; i <= 12; ++i) {
    arguments << (i == 3 ? QString(400, QChar('x')) : QStringLiteral("arg%1").arg(i));
  }
  QProcess second;
  second.start(ProbePath(), arguments);
  ASSERT_TRUE(second.waitForFinished(60000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardOutput().contains("handed over"));

  ASSERT_EQ(WaitForLine(first, "arguments"), QStringLiteral("arguments 10"));
  QStringList received;
  while (received.size() < 10) {
    if (!first.canReadLine() && !first.waitForReadyRead(30000)) break;
    while (first.canReadLine() && received.size() < 10) {
      received << QString::fromLocal8Bit(first.readLine()).chopped(1);
    }
  }
  ASSERT_EQ(received.size(), 10);
  EXPECT_EQ(received[0], QStringLiteral("arg1"));
  EXPECT_EQ(received[2], QString(300, QChar('x')));
  EXPECT_EQ(received[9], QStringLiteral("arg10"));

  first.closeWriteChannel();
  ASSERT_TRUE(first.waitForFinished(30000));
  EXPECT_EQ(first.exitCode(), 0);
}

TEST(OneInstance, KilledRunningInstanceIsTakenOverByTheNextStart) {
  const QString name = UniqueName();
  QProcess first;
  first.start(ProbePath(), {name});
  ASSERT_TRUE(WaitForLine(first, "running").startsWith("running"));
  first.kill();
  ASSERT_TRUE(first.waitForFinished(30000));

  // The block is still there, with a dead process at offset 0.
  const int fd = ::shm_open(("/" + name.toStdString()).c_str(), O_RDONLY, 0);
  ASSERT_GE(fd, 0);
  ::close(fd);

  QProcess next;
  next.start(ProbePath(), {name, "after-crash"});
  const QString line = WaitForLine(next, "running");
  EXPECT_EQ(line, QStringLiteral("running %1").arg(next.processId()));
  next.closeWriteChannel();
  ASSERT_TRUE(next.waitForFinished(30000));
  EXPECT_EQ(next.exitCode(), 0);
  // A normal end removes the names.
  EXPECT_LT(::shm_open(("/" + name.toStdString()).c_str(), O_RDONLY, 0), 0);
}

TEST(OneInstance, RunningInstanceThatNeverAnswersIsTakenOverAfterTheWait) {
  const QString name = UniqueName();
  QProcess first;
  first.start(ProbePath(), {name});
  ASSERT_TRUE(WaitForLine(first, "running").startsWith("running"));
  // Alive, but its event loop never reads the block.
  ASSERT_EQ(::kill(static_cast<pid_t>(first.processId()), SIGSTOP), 0);

  QProcess next;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("SALDEX_GUARD_WAIT_MS", "300");
  next.setProcessEnvironment(environment);
  next.start(ProbePath(), {name, "impatient"});
  EXPECT_EQ(WaitForLine(next, "running"), QStringLiteral("running %1").arg(next.processId()));
  next.closeWriteChannel();
  ASSERT_TRUE(next.waitForFinished(30000));
  EXPECT_EQ(next.exitCode(), 0);

  first.kill();
  ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
  first.waitForFinished(30000);
}

}  // namespace
}  // namespace app
