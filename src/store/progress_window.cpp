#include "store/progress_window.h"

#include <algorithm>
#include <cmath>

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

int ProgressWindow::GaugePercent(int32_t done, int32_t total) {
  if (total <= 0) return -1;
  const double percent = std::nearbyint(static_cast<double>(done) / total * 100.0);
  return static_cast<int>(std::clamp(percent, 0.0, 100.0));
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
