#include "store/progress_window.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "store/recording_operator.h"

namespace store {
namespace {

using testing_support::RecordingOperator;

TEST(ProgressWindow, IsCreatedHiddenWithItsCaptionAndAnEmptyGauge) {
  RecordingOperator op;
  ProgressWindow window(op);
  EXPECT_TRUE(op.progress_open);
  EXPECT_FALSE(op.progress_visible);
  EXPECT_EQ(op.events.at(0), "progress create: Indexace datových souborů");
  EXPECT_EQ(op.gauge, std::vector<int>{0});
}

TEST(ProgressWindow, StatusSequenceShowsTheWindowAndMovesTheGauge) {
  RecordingOperator op;
  ProgressWindow window(op);
  window.OnStatus(-1, 1, 200);
  EXPECT_TRUE(op.progress_visible);
  window.OnStatus(1, 50, 0);
  window.OnStatus(1, 100, 0);
  EXPECT_EQ(op.gauge, (std::vector<int>{0, 25, 50}));
  EXPECT_EQ(op.processed, 3);
}

TEST(ProgressWindow, HalvesRoundToEven) {
  RecordingOperator op;
  ProgressWindow window(op);
  window.OnStatus(-1, 1, 8);
  window.OnStatus(1, 1, 0);   // 12.5
  window.OnStatus(11, 3, 0);  // 37.5
  window.OnStatus(1, 7, 0);   // 87.5
  EXPECT_EQ(op.gauge, (std::vector<int>{0, 12, 38, 88}));
  // Halves that a double quotient misses: 23 / 40 * 100 is 57.4999... there.
  EXPECT_EQ(ProgressWindow::GaugePercent(23, 40), 58);
  EXPECT_EQ(ProgressWindow::GaugePercent(21, 40), 52);
  EXPECT_EQ(ProgressWindow::GaugePercent(1, 200), 0);
  EXPECT_EQ(ProgressWindow::GaugePercent(3, 200), 2);
}

TEST(ProgressWindow, OtherCodesChangeNothingButLetMessagesRun) {
  RecordingOperator op;
  ProgressWindow window(op);
  window.OnStatus(-1, 1, 10);
  const size_t events = op.events.size();
  window.OnStatus(-1, 2, 10);
  window.OnStatus(2, 5, 0);
  window.OnStatus(0, 0, 0);
  window.OnStatus(12, 5, 0);
  EXPECT_EQ(op.events.size(), events);
  EXPECT_EQ(op.processed, 5);
}

TEST(ProgressWindow, EmptyTableTotalLeavesTheGaugeAlone) {
  RecordingOperator op;
  ProgressWindow window(op);
  window.OnStatus(-1, 1, 0);
  window.OnStatus(1, 0, 0);
  window.OnStatus(1, 5, 0);
  EXPECT_EQ(op.gauge, std::vector<int>{0});
}

TEST(ProgressWindow, ProgressBeforeTheStartOfAPhaseIsIgnored) {
  RecordingOperator op;
  ProgressWindow window(op);
  window.OnStatus(1, 50, 0);
  EXPECT_FALSE(op.progress_visible);
  EXPECT_EQ(op.gauge, std::vector<int>{0});
}

TEST(ProgressWindow, GaugeStaysWithinTheScale) {
  EXPECT_EQ(ProgressWindow::GaugePercent(300, 200), 100);
  EXPECT_EQ(ProgressWindow::GaugePercent(-5, 200), 0);
  EXPECT_EQ(ProgressWindow::GaugePercent(2147483647, 2147483647), 100);
  EXPECT_EQ(ProgressWindow::GaugePercent(1, 3), 33);
  EXPECT_EQ(ProgressWindow::GaugePercent(2, 3), 67);
  EXPECT_EQ(ProgressWindow::GaugePercent(1, -1), -1);
}

TEST(ProgressWindow, LabelsReachTheWindow) {
  RecordingOperator op;
  ProgressWindow window(op);
  window.SetLabel("Vydan\xE9 faktury - dle dokladu ");
  EXPECT_EQ(op.progress_label, "Vydané faktury - dle dokladu ");
}

TEST(ProgressWindow, ClosesOnceAndAlsoWhenABuildFails) {
  RecordingOperator op;
  try {
    ProgressWindow window(op);
    window.OnStatus(-1, 1, 10);
    throw std::runtime_error("build failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(op.progress_open);
  RecordingOperator second;
  {
    ProgressWindow window(second);
    window.Close();
    window.OnStatus(-1, 1, 10);
  }
  int closes = 0;
  for (const auto& event : second.events) closes += event == "progress close";
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(second.progress_visible);
}

}  // namespace
}  // namespace store
