#include "progress_bar.h"

#include <cstdio>

namespace dbftool {
namespace {

constexpr int kWidth = 40;

}  // namespace

std::string ProgressBar::Line(int phase, int percent) {
  const int filled = percent * kWidth / 100;
  std::string line = phase == 1 ? "reading records " : "writing tree    ";
  line += '[' + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] ";
  char number[8];
  std::snprintf(number, sizeof number, "%3d%%", percent);
  return line + number;
}

void ProgressBar::Report(int32_t stat1, int32_t stat2, int32_t stat3) {
  if (!enabled_) return;
  if (stat1 == -1) {
    phase_ = stat2;
    total_ = stat3;
    shown_ = -1;
    return;
  }
  if (stat1 == 0) {
    if (phase_ != 0) std::fprintf(stderr, "\r%s\n", Line(phase_, 100).c_str());
    phase_ = 0;
    return;
  }
  if (stat1 != phase_ || total_ <= 0) return;
  const int percent = static_cast<int>(static_cast<int64_t>(stat2) * 100 / total_);
  if (percent == shown_) return;
  shown_ = percent;
  std::fprintf(stderr, "\r%s", Line(phase_, percent).c_str());
  std::fflush(stderr);
}

}  // namespace dbftool
