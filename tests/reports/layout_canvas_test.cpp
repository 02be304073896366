#include "reports/layout_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reports {
namespace {

// A landscape page of 29.7 x 21 cm whose fonts are 0.05 cm high per point
// and 0.2 cm wide per character.
class FixedSurface : public PageSurface {
 public:
  struct Drawn {
    int page;
    double x;
    double top;
    std::string text;
  };
  double PageWidth() const override { return 29.7; }
  double PageHeight() const override { return 21.0; }
  double LineHeight(const ReportFont& font) override { return font.size * 0.05; }
  double TextWidth(const ReportFont&, const std::string& text) override {
    return 0.2 * static_cast<double>(text.size());
  }
  void DrawText(const ReportFont&, double x, double top, const std::string& text) override {
    drawn.push_back({page, x, top, text});
  }
  void NewPage() override { ++page; }

  int page = 1;
  std::vector<Drawn> drawn;
};

class LayoutCanvasTest : public ::testing::Test {
 protected:
  LayoutCanvasTest() : canvas_(surface_) {
    canvas_.SetFont("ArialCE", 10);  // lines of 0.5 cm
    canvas_.SetMargins(1, 1, 2, 2);  // section from 2 to 19 cm: 34 lines
    canvas_.StartSection();
    canvas_.Home();
  }
  FixedSurface surface_;
  LayoutCanvas canvas_;
};

TEST_F(LayoutCanvasTest, TabsAfterThePreviousFollowOneAnother) {
  canvas_.SetTab(1, TabJustify::kLeft, 1.75, 0, 0, 0);
  canvas_.SetTab(kAfterPreviousTab, TabJustify::kLeft, 2, 0, 0, 0);
  canvas_.SetTab(kAfterPreviousTab, TabJustify::kRight, 2, 0, 0, 0);
  ASSERT_EQ(canvas_.tabs().size(), 3u);
  EXPECT_DOUBLE_EQ(canvas_.tabs()[1].position, 2.75);
  EXPECT_DOUBLE_EQ(canvas_.tabs()[2].position, 4.75);
  canvas_.ClearTabs();
  canvas_.SetTab(kAfterPreviousTab, TabJustify::kLeft, 1, 0, 0, 0);
  EXPECT_DOUBLE_EQ(canvas_.tabs()[0].position, 1);  // the left margin
}

TEST_F(LayoutCanvasTest, TabbedTextIsAlignedInItsStopAndTheLineAdvances) {
  canvas_.SetTab(1, TabJustify::kLeft, 2, 0, 0, 0);
  canvas_.SetTab(kAfterPreviousTab, TabJustify::kRight, 2, 0.1, 0, 0);
  canvas_.PrintTabbedLine("\tab\t12.50");
  ASSERT_EQ(surface_.drawn.size(), 2u);
  EXPECT_DOUBLE_EQ(surface_.drawn[0].x, 1);
  EXPECT_DOUBLE_EQ(surface_.drawn[0].top, 2);
  EXPECT_DOUBLE_EQ(surface_.drawn[1].x, 3 + 2 - 0.1 - 1.0);  // ends at the stop's end less margin
  EXPECT_DOUBLE_EQ(canvas_.current_top(), 2.5);
}

TEST_F(LayoutCanvasTest, TextWiderThanItsStopIsNeverCut) {
  canvas_.SetTab(1, TabJustify::kLeft, 1, 0, 0, 0);
  canvas_.SetTab(kAfterPreviousTab, TabJustify::kRight, 1, 0, 0, 0);
  canvas_.PrintTabbedLine("\tabcdefgh\t1234567.00");
  ASSERT_EQ(surface_.drawn.size(), 2u);
  EXPECT_EQ(surface_.drawn[0].text, "abcdefgh");
  EXPECT_EQ(surface_.drawn[1].text, "1234567.00");
  EXPECT_DOUBLE_EQ(surface_.drawn[1].x, 3 - 2.0);
}

TEST_F(LayoutCanvasTest, TextBeyondTheLastStopFollowsIt) {
  canvas_.SetTab(1, TabJustify::kLeft, 1, 0, 0, 0);
  canvas_.PrintTabbedLine("head\ta\tb");
  ASSERT_EQ(surface_.drawn.size(), 3u);
  EXPECT_DOUBLE_EQ(surface_.drawn[0].x, 1);  // before the first tab: the left margin
  EXPECT_DOUBLE_EQ(surface_.drawn[2].x, 2);
}

TEST_F(LayoutCanvasTest, LinesLeftCountsTheCurrentLine) {
  EXPECT_EQ(canvas_.LinesLeft(), 34);
  for (int i = 0; i < 33; ++i) canvas_.NewLine();
  EXPECT_EQ(canvas_.page(), 1);
  EXPECT_EQ(canvas_.LinesLeft(), 1);
  canvas_.SetFont("ArialCE", 20);  // a line of 1 cm no longer fits
  EXPECT_EQ(canvas_.LinesLeft(), 0);
}

TEST_F(LayoutCanvasTest, NewLineOnTheLastLineContinuesAtTheSectionTopOfANewPage) {
  canvas_.PrintLeft("heading", 1);
  canvas_.NewLine();
  canvas_.StartSection();  // the section now starts at 2.5 cm
  for (int i = 0; i < 32; ++i) canvas_.NewLine();
  EXPECT_EQ(canvas_.LinesLeft(), 1);
  canvas_.NewLine();
  EXPECT_EQ(canvas_.page(), 2);
  EXPECT_EQ(surface_.page, 2);
  EXPECT_DOUBLE_EQ(canvas_.current_top(), 2.5);
  EXPECT_EQ(canvas_.LinesLeft(), 33);
}

TEST_F(LayoutCanvasTest, NewPageStartsAtTheTopOfTheSection) {
  canvas_.NewLine();
  canvas_.NewLine();
  canvas_.NewPage();
  canvas_.PrintLeft("x", 1);
  EXPECT_EQ(surface_.drawn.back().page, 2);
  EXPECT_DOUBLE_EQ(surface_.drawn.back().top, 2);
}

}  // namespace
}  // namespace reports
