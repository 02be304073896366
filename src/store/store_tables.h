#ifndef SALDEX_STORE_STORE_TABLES_H_
#define SALDEX_STORE_STORE_TABLES_H_

#include <string>
#include <string_view>
#include <vector>

#include "dbf/lock_protocol.h"
#include "store/declared_field.h"

namespace store {

// Settings every store table's dataset is opened with.
struct StoreDataSetSettings {
  bool translate_ascii = true;           // OEM text in the file, ANSI text in the program
  bool exclusive = false;                // shared access
  bool use_deleted = false;              // deleted records hidden
  bool large_integer_as_integer = true;  // N without decimals, width >= 10: 32-bit integer
  bool auto_flush = false;
  int user_id = 0;
};
inline constexpr const char* kSharedStoreCode = "0000";

// One table of the Korvana store database.
struct StoreTable {
  std::string component;  // component name of the data module, e.g. "Faktury"
  std::string prefix;     // "Fak"; the whole name ("Vla0000") for tables shared by all stores
  bool per_store = true;  // the name is prefix + StoreCode
  int declared_field_count = 0;
  std::string status_handler;  // e.g. "FakturyStatus"; empty: no progress window
  dbf::LockProtocol lock_protocol = dbf::LockProtocol::kClipLock;

  // Table name without extension: "Fak0002" for StoreCode "0002", "Vla0000".
  std::string TableName(const std::string& store_code) const;
  bool HasStatusHandler() const { return !status_handler.empty(); }
  // The declared fields in declaration order; empty for tables whose fields
  // this program never reads (those are not opened by it).
  const std::vector<DeclaredField>& Fields() const;
};

// Every table the data module declares, in declaration order.
const std::vector<StoreTable>& StoreTables();
// The table with this component name; nullptr when there is none.
const StoreTable* FindStoreTable(std::string_view component);
// Declared fields of the tables this program reads or writes (Faktury,
// Odberatele, Vypisy, TypPlatby, Uzivatele, Vlastnik, Ciselnik, Poznamky,
// Denik, UziPrava); empty for any other component.
const std::vector<DeclaredField>& DeclaredFieldsOf(std::string_view component);

}  // namespace store

#endif  // SALDEX_STORE_STORE_TABLES_H_
