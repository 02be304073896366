#include "reports/page_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_canvas.h"

namespace reports {
namespace {

// Pages of 21 cm with lines of 0.5 cm: 34 lines between margins of 2 cm.
class CountingSurface : public PageSurface {
 public:
  double PageWidth() const override { return 29.7; }
  double PageHeight() const override { return 21.0; }
  double LineHeight(const ReportFont&) override { return 0.5; }
  double TextWidth(const ReportFont&, const std::string& text) override {
    ++measured;
    return 0.2 * static_cast<double>(text.size());
  }
  void DrawText(const ReportFont&, double, double, const std::string& text) override {
    drawn.push_back(std::to_string(page) + ":" + text);
  }
  void NewPage() override { ++page; }

  int page = 1;
  int measured = 0;
  std::vector<std::string> drawn;
};

// 100 lines "n" (34 a page: 3 pages), right-justified in one tab stop.
void HundredLines(ReportCanvas& canvas) {
  canvas.SetFont("ArialCE", 10);
  canvas.SetMargins(1, 1, 2, 2);
  canvas.SetTab(1, TabJustify::kRight, 3, 0, 0, 0);
  for (int line = 1; line <= 100; ++line) canvas.PrintTabbedLine("\t" + std::to_string(line));
}

TEST(PageFilter, CountsThePagesWithoutDrawingOrMeasuring) {
  CountingSurface surface;
  EXPECT_EQ(RunPageRange(surface, HundredLines, 1, 0), 3);
  EXPECT_TRUE(surface.drawn.empty());
  EXPECT_EQ(surface.measured, 0);
  EXPECT_EQ(surface.page, 1);
}

TEST(PageFilter, DrawsOnePageOnAPageOfItsOwnAndEndsTheRunAfterIt) {
  CountingSurface surface;
  std::vector<int> started;
  EXPECT_EQ(RunPageRange(surface, HundredLines, 2, 2, [&](int page) { started.push_back(page); }),
            2);
  ASSERT_EQ(surface.drawn.size(), 34u);
  EXPECT_EQ(surface.drawn.front(), "1:35");
  EXPECT_EQ(surface.drawn.back(), "1:68");
  EXPECT_EQ(surface.page, 1);  // the inner surface never saw a page break
  EXPECT_EQ(started, (std::vector<int>{1, 2}));
}

TEST(PageFilter, DrawsEveryPageWithItsBreaks) {
  CountingSurface surface;
  EXPECT_EQ(RunPageRange(surface, HundredLines, 1), 3);
  ASSERT_EQ(surface.drawn.size(), 100u);
  EXPECT_EQ(surface.drawn[33], "1:34");
  EXPECT_EQ(surface.drawn[34], "2:35");
  EXPECT_EQ(surface.drawn[99], "3:100");
}

TEST(PageFilter, APageStartedCallbackThatRaisesEndsTheRun) {
  CountingSurface surface;
  struct Cancelled {};
  EXPECT_THROW(RunPageRange(surface, HundredLines, 1, 3,
                            [](int page) {
                              if (page == 2) throw Cancelled{};
                            }),
               Cancelled);
  EXPECT_EQ(surface.drawn.size(), 34u);
}

}  // namespace
}  // namespace reports
