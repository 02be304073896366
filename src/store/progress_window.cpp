#include "store/progress_window.h"

#include <algorithm>

#include "store/ansi_text.h"

namespace store {
namespace {

constexpr int32_t kStartOfPhase = -1;
constexpr int32_t kReadingRecords = 1;
constexpr int32_t kProgress = 1;
constexpr int32_t kProgressSorted = 11;

}  // namespace

ProgressWindow::ProgressWindow(Operator& op) : op_(op) {
  op_.CreateProgress(Ansi(kCaption));
  op_.SetProgressPercent(0);
}

ProgressWindow::~ProgressWindow() {
  Close();
}

void ProgressWindow::SetLabel(const std::string& label) {
  if (open_) op_.SetProgressLabel(label);
}

// Exact integer arithmetic: in doubles 23 / 40 * 100 is 57.49999..., not the half it is.
int ProgressWindow::GaugePercent(int32_t done, int32_t total) {
  if (total <= 0) return -1;
  const int64_t scaled = std::clamp<int64_t>(done, 0, total) * 100;
  const int64_t quotient = scaled / total;
  const int64_t twice_remainder = 2 * (scaled % total);
  const bool up = twice_remainder > total || (twice_remainder == total && quotient % 2 != 0);
  return static_cast<int>(quotient + (up ? 1 : 0));
}

void ProgressWindow::OnStatus(int32_t stat1, int32_t stat2, int32_t stat3) {
  if (open_) {
    if (stat1 == kStartOfPhase && stat2 == kReadingRecords) {
      total_ = stat3;
      op_.ShowProgress();
    } else if (stat1 == kProgress || stat1 == kProgressSorted) {
      const int percent = GaugePercent(stat2, total_);
      if (percent >= 0) op_.SetProgressPercent(percent);
    }
  }
  op_.ProcessMessages();
}

void ProgressWindow::Close() {
  if (!open_) return;
  open_ = false;
  op_.CloseProgress();
}

}  // namespace store
