#include "store/lock_with_retry.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "dbf/errors.h"
#include "store/recording_operator.h"

namespace store {
namespace {

using testing_support::RecordingOperator;

TEST(LockWithRetry, FirstSuccessStopsTheTries) {
  RecordingOperator op;
  int tries = 0;
  EXPECT_TRUE(LockWithRetry([&] { return ++tries == 3; }, "Fak0001", op));
  EXPECT_EQ(tries, 3);
  EXPECT_EQ(op.processed, 3);
  EXPECT_TRUE(op.messages.empty());
}

TEST(LockWithRetry, TenRefusalsShowTheMessageOnce) {
  RecordingOperator op;
  int tries = 0;
  EXPECT_FALSE(LockWithRetry(
      [&] {
        ++tries;
        return false;
      },
      "Fak0001", op));
  EXPECT_EQ(tries, 10);
  EXPECT_EQ(op.processed, 10);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Nelze zamknout zaznam v tabulce Fak0001");
}

TEST(LockWithRetry, SuccessAtTheTenthTry) {
  RecordingOperator op;
  int tries = 0;
  EXPECT_TRUE(LockWithRetry([&] { return ++tries == 10; }, "Fak0001", op));
  EXPECT_TRUE(op.messages.empty());
}

TEST(LockWithRetry, AnErrorEndsTheTriesAsAFailure) {
  RecordingOperator op;
  int tries = 0;
  EXPECT_FALSE(LockWithRetry(
      [&]() -> bool {
        if (++tries == 2) throw dbf::DatasetError("Dataset not in edit or insert mode");
        return false;
      },
      "Ext0002", op));
  EXPECT_EQ(tries, 2);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Nelze zamknout zaznam v tabulce Ext0002");
}

}  // namespace
}  // namespace store
