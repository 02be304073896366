#ifndef SALDEX_STORE_PROGRESS_WINDOW_H_
#define SALDEX_STORE_PROGRESS_WINDOW_H_

#include <cstdint>
#include <string>

#include "store/operator.h"

namespace store {

// The progress window of the index rebuild ("Indexace datových souborů"):
// created hidden, shown when the engine starts reading the records for a
// tag, its gauge moved by the tables' status reports. Closed by Close() or
// at destruction, so a failed build never leaves it on the screen.
class ProgressWindow {
 public:
  static constexpr const char* kCaption = "Indexace datových souborů";  // UTF-8

  explicit ProgressWindow(Operator& op);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Text of `Label1` (code page 1250): the table and order being built.
  void SetLabel(const std::string& label);

  // The status handler of every store table that has one (OnStatus):
  //  (-1, 1, n)      records are about to be read: n is the total; show the window;
  //  (1 or 11, k, _) k records done: gauge k / total * 100, halves to even;
  //  anything else   no change.
  // Pending window messages run in every case.
  void OnStatus(int32_t stat1, int32_t stat2, int32_t stat3);

  void Close();

  // The gauge for `done` of `total` records, 0..100, rounded half to even;
  // -1 for a total of 0 or less, which leaves the gauge where it is instead of
  // dividing by zero.
  static int GaugePercent(int32_t done, int32_t total);

 private:
  Operator& op_;
  int32_t total_ = 0;
  bool open_ = true;
};

}  // namespace store

#endif  // SALDEX_STORE_PROGRESS_WINDOW_H_
