#ifndef SALDEX_STORE_DATA_MODULE_H_
#define SALDEX_STORE_DATA_MODULE_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dbf/data_set.h"
#include "dbf/data_source.h"
#include "store/operator.h"
#include "store/settings.h"
#include "store/store_data_sets.h"

namespace store {

class ProgressWindow;
struct RebuildTable;

// The store data module `Data`: the settings, one cursor per store table,
// opening and closing of the invoice and customer tables with their index
// files, the progress window fed by the tables' status handlers, the index
// rebuild and the start-up with the operator's sign-in. One instance per
// program, used from the user-interface thread only.
class TData {
 public:
  // `executable_dir` (ending with '/') stands for the directory of the
  // running executable; empty means the real one.
  explicit TData(Operator& op, std::string executable_dir = {});
  // Runs DataModuleDestroy; every table still open is closed.
  ~TData();
  TData(const TData&) = delete;
  TData& operator=(const TData&) = delete;

  // --- start-up and shutdown
  // Presets, settings, table locations, the users-table test, the sign-in
  // and the journal check; an error on the automatic path starts Index().
  // A conversion error of the settings file propagates.
  void DataCreate();
  // Closes the access-rules table with its index file when it is open.
  void DataModuleDestroy();
  // Start-up asked for the end of the program (login cancelled, unknown
  // user, wrong password, journal dated after today).
  bool terminate_requested() const { return terminate_requested_; }
  // DataCreate found and read the settings file.
  bool settings_read() const { return settings_read_; }
  // DataCreate found the data directory's users table (false: it showed
  // "Data nejsou dostupná v adresáři ..."). True until a DataCreate says otherwise.
  bool data_available() const { return data_available_; }

  // --- read-only use
  // For jobs that only read: every store table opens read-only (on a share
  // the user may only read as well) and Index() rebuilds nothing. Set before
  // DataCreate, while every table is closed.
  void set_read_only(bool read_only);
  bool read_only() const { return read_only_; }

  // --- opening and closing
  // Open with the index file and the tag (empty or blank: order unchanged).
  // A closed table that cannot be opened gives false without a message.
  bool OpenFak(const std::string& tag_name);
  void CloseFak();
  bool OpenOdb(int ignored, const std::string& tag_name);
  void CloseOdb();
  // Locks the current record with up to ten tries; on failure shows
  // "Nelze zamknout zaznam v tabulce " + the table's name.
  bool LockWithRetry(dbf::DbfDataSet& table);

  // --- index rebuild
  // Rebuilds the index file of every table of the rebuild catalogue; true
  // once all were gone through. The tables that failed are in
  // failed_tables() afterwards, the tables whose last record is cut (warned
  // about, their whole records indexed) in cut_tables(). A data module in
  // read-only use or a data directory this process may not write to is not
  // touched: one message says why, and the result is false
  // (rebuild_refused()).
  bool Index();
  const std::vector<std::string>& failed_tables() const { return failed_tables_; }
  const std::vector<std::string>& cut_tables() const { return cut_tables_; }
  bool rebuild_refused() const { return rebuild_refused_; }
  // How many tables named by the StoreCode the last Index() found; 0 means
  // the store's own tables are all missing (a wrong StoreCode or data directory).
  int store_tables_found() const { return store_tables_found_; }
  // How often Index() has run.
  int rebuild_count() const { return rebuild_count_; }

  // The status handler every table with a progress handler is bound to.
  void StatusHandler(int32_t stat1, int32_t stat2, int32_t stat3);
  // The progress window of the build running now; nullptr outside one.
  ProgressWindow* progress_window() const { return progress_window_; }
  void set_progress_window(ProgressWindow* window) { progress_window_ = window; }

  // --- tables
  dbf::DbfDataSet& Table(std::string_view component) { return tables_.Get(component); }
  dbf::DbfDataSet& Faktury() { return Table("Faktury"); }
  dbf::DbfDataSet& Odberatele() { return Table("Odberatele"); }
  dbf::DbfDataSet& Vypisy() { return Table("Vypisy"); }
  dbf::DbfDataSet& TypPlatby() { return Table("TypPlatby"); }
  dbf::DbfDataSet& Vlastnik() { return Table("Vlastnik"); }
  dbf::DbfDataSet& Ciselnik() { return Table("Ciselnik"); }
  dbf::DbfDataSet& Uzivatele() { return Table("Uzivatele"); }
  dbf::DbfDataSet& Denik() { return Table("Denik"); }
  dbf::DbfDataSet& UziPrava() { return Table("UziPrava"); }
  StoreDataSets& tables() { return tables_; }

  // Index file of the invoice table: CestaData + "/FAK" + StoreCode + ".cdx".
  std::string FakturyIndexFile() const;
  // Index file of the customer table: CestaData + "/Ext" + StoreCode + ".cdx".
  std::string OdberateleIndexFile() const;

  // Where the automatic sign-in takes the operating-system user name from
  // (tests replace it).
  void set_user_name_source(std::function<std::string()> source) {
    user_name_source_ = std::move(source);
  }

  Settings settings;
  Operator& op;

 private:
  std::optional<std::string> RebuildRefusal() const;
  void RebuildOneTable(const RebuildTable& rebuild);
  bool OpenWithIndex(dbf::DbfDataSet& table, const std::string& index_file,
                     const std::string& tag_name, bool reopen_index);
  void SignInAutomatically();
  void RunLoginDialog(bool keep_users_open);
  void CheckJournalDate();
  void TakeIdentity(dbf::DbfDataSet& users);

  StoreDataSets tables_;
  ProgressWindow* progress_window_ = nullptr;
  bool terminate_requested_ = false;
  bool settings_read_ = false;
  bool data_available_ = true;
  bool read_only_ = false;
  bool rebuild_refused_ = false;
  int rebuild_count_ = 0;
  int store_tables_found_ = 0;
  std::vector<std::string> failed_tables_;
  std::vector<std::string> cut_tables_;
  std::function<std::string()> user_name_source_;

 public:
  // The data sources this program's windows bind ("Data" + component name).
  // Declared after the tables they point to.
  dbf::DataSource DataFaktury{Faktury()};
  dbf::DataSource DataVypisy{Vypisy()};
  dbf::DataSource DataVlastnik{Vlastnik()};
  dbf::DataSource DataCiselnik{Ciselnik()};
  dbf::DataSource DataTypPlatby{TypPlatby()};
};

}  // namespace store

#endif  // SALDEX_STORE_DATA_MODULE_H_
