#include "accounting/dry_run_export.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "accounting/data_ucto.h"
#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"
#include "store/silent_operator.h"

namespace accounting {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSaldexTables[] = {"KPOHLED.DBF", "ADRESAR.DBF", "SYSTEMAK.DBF"};

// Shows nothing; lets pending window messages run as the caller's operator would.
class QuietOperator : public store::SilentOperator {
 public:
  explicit QuietOperator(store::Operator& inner) : inner_(inner) {}
  void ProcessMessages() override { inner_.ProcessMessages(); }

 private:
  store::Operator& inner_;
};

// A directory of its own under the system's temporary directory, removed
// with everything in it when the object goes.
class PrivateDirectory {
 public:
  PrivateDirectory() {
    std::string pattern = (fs::temp_directory_path() / "saldex-dry-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("Cannot create a temporary directory in " +
                               dbf::ProgramPath(fs::temp_directory_path().string()));
    }
    system_path_ = pattern;
  }
  ~PrivateDirectory() {
    std::error_code ignored;
    fs::remove_all(system_path_, ignored);
  }
  PrivateDirectory(const PrivateDirectory&) = delete;
  PrivateDirectory& operator=(const PrivateDirectory&) = delete;

  const std::string& system_path() const { return system_path_; }
  // The directory as the program composes paths: code page 1250, ending with '/'.
  std::string program_path() const { return dbf::ProgramPath(system_path_) + "/"; }

 private:
  std::string system_path_;
};

}  // namespace

DryRunExport::DryRunExport(StoreSide store, std::string saldex_directory, store::Operator& op)
    : store_(std::move(store)), saldex_directory_(std::move(saldex_directory)), operator_(op) {}

void DryRunExport::Run(const OutcomeListener& listener) {
  summary_ = {};
  PrivateDirectory copies;
  for (const char* name : kSaldexTables) {
    const std::string original = saldex_directory_ + name;
    const std::optional<std::string> found = dbf::FindFileIgnoringCase(original);
    if (!found) throw dbf::DatasetError(dbf::FormatMessage("Cannot find file %s", original));
    std::error_code error;
    const fs::path copy = fs::path(copies.system_path()) / name;
    fs::copy_file(dbf::SystemPath(*found), copy, error);
    // A copy takes the permissions of its original, which on a share the
    // user may only read are read-only; the walk appends to the copy.
    if (!error)
      fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                      error);
    if (error) throw dbf::DbfError(dbf::FormatMessage("Error on Read of file %s", *found));
  }
  TDataUcto ucto;
  ucto.SetDirectory(copies.program_path());
  ucto.Pohledavky.Open();
  ucto.Adresar.Open();
  QuietOperator quiet(operator_);
  InvoiceExport walk(store_, ucto, quiet);
  walk.set_listener(listener);
  try {
    walk.Run();
  } catch (...) {
    summary_ = walk.summary();
    throw;
  }
  summary_ = walk.summary();
}

}  // namespace accounting
