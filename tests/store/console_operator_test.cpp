#include "store/console_operator.h"

#include <gtest/gtest.h>

#include <sstream>

#include "dbf/charset_tables.h"

namespace store {
namespace {

using dbf::Utf8ToCp1250;

TEST(ConsoleOperator, MessagesAreUtf8WithTheirCaption) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleOperator op(in, out, false);
  op.ShowMessage(Utf8ToCp1250("Neplatné heslo !!!"), kApplicationTitle);
  EXPECT_EQ(out.str(), "Exportni modul pro Saldex 2: Neplatné heslo !!!\n");
}

TEST(ConsoleOperator, LoginReadsNameAndPasswordAsCodePage1250) {
  std::istringstream in("šťastný\r\nheslo\n");
  std::ostringstream out;
  ConsoleOperator op(in, out, false);
  const auto login = op.AskLogin();
  ASSERT_TRUE(login.has_value());
  EXPECT_EQ(login->name, Utf8ToCp1250("šťastný"));
  EXPECT_EQ(login->password, "heslo");
}

TEST(ConsoleOperator, EndOfInputCancelsTheLogin) {
  std::istringstream only_name("novak\n");
  std::ostringstream out;
  ConsoleOperator op(only_name, out, false);
  EXPECT_FALSE(op.AskLogin().has_value());
  std::istringstream nothing;
  ConsoleOperator empty(nothing, out, false);
  EXPECT_FALSE(empty.AskLogin().has_value());
}

TEST(ConsoleOperator, ProgressBarLine) {
  EXPECT_EQ(ConsoleOperator::ProgressLine("Faktury", 50),
            "Faktury [###############...............]  50%");
  EXPECT_EQ(ConsoleOperator::ProgressLine("x", 100), "x [##############################] 100%");
  EXPECT_EQ(ConsoleOperator::ProgressLine("x", 0), "x [..............................]   0%");
}

TEST(ConsoleOperator, TerminalRedrawsTheBarInPlace) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleOperator op(in, out, true);
  op.CreateProgress("Indexace");
  op.SetProgressLabel(Utf8ToCp1250("Vydané faktury - dle dokladu "));
  op.SetProgressPercent(0);
  op.ShowProgress();
  op.SetProgressPercent(50);
  op.CloseProgress();
  EXPECT_EQ(out.str(),
            "\r" + ConsoleOperator::ProgressLine("Vydané faktury - dle dokladu ", 0) + "\r" +
                ConsoleOperator::ProgressLine("Vydané faktury - dle dokladu ", 50) + "\n");
}

TEST(ConsoleOperator, HiddenProgressPrintsNothing) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleOperator op(in, out, true);
  op.CreateProgress("Indexace");
  op.SetProgressLabel("Tabulka");
  op.SetProgressPercent(30);
  op.CloseProgress();
  EXPECT_EQ(out.str(), "");
}

TEST(ConsoleOperator, OutsideATerminalOnlyLabelsArePrinted) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleOperator op(in, out, false);
  op.CreateProgress("Indexace");
  op.SetProgressLabel("A");
  op.ShowProgress();
  op.SetProgressPercent(40);
  op.SetProgressLabel("B");
  op.SetProgressPercent(80);
  op.CloseProgress();
  EXPECT_EQ(out.str(), "A\nB\n");
}

}  // namespace
}  // namespace store
