#ifndef SALDEX_TOOLS_DBFTOOL_PROGRESS_BAR_H_
#define SALDEX_TOOLS_DBFTOOL_PROGRESS_BAR_H_

#include <cstdint>
#include <string>

namespace dbftool {

// Draws the progress of a tag build on stderr from the cursor's OnStatus reports:
// (-1, phase, total) starts phase 1 (reading records) or 2 (writing the tree), (phase, n, 0)
// reports the n-th step, (0, 0, 0) ends the phase. The bar is redrawn only when its percentage
// changes. A disabled bar draws nothing.
class ProgressBar {
 public:
  explicit ProgressBar(bool enabled) : enabled_(enabled) {}
  void Report(int32_t stat1, int32_t stat2, int32_t stat3);

  // The line drawn for `percent` of phase `phase` (for tests of the layout).
  static std::string Line(int phase, int percent);

 private:
  bool enabled_;
  int phase_ = 0;
  int64_t total_ = 0;
  int shown_ = -1;
};

}  // namespace dbftool

#endif  // SALDEX_TOOLS_DBFTOOL_PROGRESS_BAR_H_
