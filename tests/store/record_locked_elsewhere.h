#ifndef SALDEX_TESTS_STORE_RECORD_LOCKED_ELSEWHERE_H_
#define SALDEX_TESTS_STORE_RECORD_LOCKED_ELSEWHERE_H_

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dbf/process_test_support.h"
#include "store/data_module.h"
#include "store/recording_operator.h"

namespace testing_support {

// Another process holding the record lock of one record of a store table
// until destroyed. Its data module (StoreCode 0001, tables in `data_dir`)
// is handed to `position`, which opens the table `component` and moves to
// the record; locked() tells whether that process got the lock.
class RecordLockedElsewhere {
 public:
  RecordLockedElsewhere(const std::string& program_dir, const std::string& data_dir,
                        const std::string& component,
                        const std::function<bool(store::TData&)>& position)
      : child_([&](const dbf::testing::ChildProcess::Channel& channel) {
          RecordingOperator op;
          store::TData other(op, program_dir);
          other.settings.CestaData = data_dir;
          other.settings.StoreCode = "0001";
          other.tables().SetLocations(data_dir, "0001");
          const bool locked = position(other) && other.Table(component).LockRecord();
          channel.Send(locked ? 'l' : 'n');
          channel.Receive();
          return 0;
        }) {
    locked_ = child_.Receive() == 'l';
  }
  ~RecordLockedElsewhere() { Release(); }
  RecordLockedElsewhere(const RecordLockedElsewhere&) = delete;
  RecordLockedElsewhere& operator=(const RecordLockedElsewhere&) = delete;

  bool locked() const { return locked_; }
  // Ends the other process (and with it the lock).
  void Release() {
    if (released_) return;
    released_ = true;
    child_.Send('x');
    EXPECT_EQ(child_.Wait(), 0);
  }

 private:
  dbf::testing::ChildProcess child_;
  bool locked_ = false;
  bool released_ = false;
};

// Positions on the invoice `number` in tag DO1.
inline std::function<bool(store::TData&)> OnInvoice(const std::string& number) {
  return [number](store::TData& data) {
    return data.OpenFak("DO1") && data.Faktury().Find(number, true, false);
  };
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_STORE_RECORD_LOCKED_ELSEWHERE_H_
