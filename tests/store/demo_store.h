#ifndef SALDEX_TESTS_STORE_DEMO_STORE_H_
#define SALDEX_TESTS_STORE_DEMO_STORE_H_

// A small demo Korvana directory in a temporary directory, with Korvana.ini
// beside it, and a data module whose program directory is that directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "dbf/dbf_file.h"
#include "dbf/process_test_support.h"
#include "korvana_directory.h"
#include "store/data_module.h"
#include "store/recording_operator.h"
#include "store/temp_dir.h"

namespace testing_support {

inline demo::KorvanaSize SmallStore() {
  demo::KorvanaSize size;
  size.invoices = 40;
  size.customers = 12;
  size.journal_entries = 30;
  size.other_records = 3;
  return size;
}

// Another process holding a table file open (shared) until destroyed.
class TableHeldElsewhere {
 public:
  explicit TableHeldElsewhere(const std::string& path)
      : child_([path](const dbf::testing::ChildProcess::Channel& channel) {
          dbf::DbfFile table;
          table.Open(path, true, false);
          channel.Send('o');
          channel.Receive();
          return 0;
        }) {
    EXPECT_EQ(child_.Receive(), 'o');
  }
  ~TableHeldElsewhere() {
    child_.Send('x');
    EXPECT_EQ(child_.Wait(), 0);
  }

 private:
  dbf::testing::ChildProcess child_;
};

class DemoStoreTest : public ::testing::Test {
 protected:
  // `os_user` (UTF-8) is added to the users table. The store is generated
  // and indexed once per process and user, then copied for each test.
  void MakeStore(const std::string& os_user = "TESTER") {
    static std::map<std::string, std::unique_ptr<TempDir>> templates;
    std::unique_ptr<TempDir>& source = templates[os_user];
    if (!source) {
      source = std::make_unique<TempDir>();
      demo::WriteKorvanaDirectory(source->path(), SmallStore(), os_user);
    }
    layout_ = demo::KorvanaLayout(dir_.path());
    std::filesystem::copy(demo::KorvanaLayout(source->path()).data_dir, layout_.data_dir,
                          std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(layout_.export_dir);
    demo::WriteKorvanaSettings(layout_);
  }
  // A data module of the store, located like DataCreate locates it, without start-up.
  store::TData& Module() {
    if (!data_) {
      data_ = std::make_unique<store::TData>(op_, dir_.path());
      data_->settings.CestaData = layout_.data_dir;
      data_->settings.StoreCode = "0001";
      data_->tables().SetLocations(data_->settings.CestaData, "0001");
    }
    return *data_;
  }
  // A data module for DataCreate, its user name taken from `os_user`.
  store::TData& FreshModule(const std::string& os_user) {
    data_ = std::make_unique<store::TData>(op_, dir_.path());
    data_->set_user_name_source([os_user] { return dbf::Utf8ToCp1250(os_user); });
    return *data_;
  }
  std::string DataFile(const std::string& name) const { return layout_.data_dir + name; }
  void Remove(const std::string& name) const { std::filesystem::remove(DataFile(name)); }

  TempDir dir_;
  demo::KorvanaDirectory layout_;
  RecordingOperator op_;
  std::unique_ptr<store::TData> data_;
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_STORE_DEMO_STORE_H_
