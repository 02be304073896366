#include "accounting/data_ucto.h"

#include <vector>

#include "accounting/saldex_fields.h"
#include "dbf/errors.h"

namespace accounting {
namespace {

void Prepare(dbf::DbfDataSet& table, const char* file_name, dbf::LargeIntegerAs large_integers,
             const std::vector<SaldexField>& fields) {
  table.SetTableName(file_name);
  table.set_exclusive(false);
  table.SetLockProtocol(dbf::LockProtocol::kDefault);
  table.set_translate_ascii(true);
  table.set_use_deleted(false);
  table.SetAutoFlush(false);
  table.SetUserId(0);
  table.set_large_integer_as(large_integers);
  for (const SaldexField& field : fields) table.DeclareField(field.name, field.kind);
}

}  // namespace

TDataUcto::TDataUcto() {
  Prepare(Pohledavky, "KPOHLED.DBF", dbf::LargeIntegerAs::kAsLargeInt, ReceivableFields());
  Prepare(Adresar, "ADRESAR.DBF", dbf::LargeIntegerAs::kAsInteger, AddressFields());
  Prepare(Ciselnik, "SYSTEMAK.DBF", dbf::LargeIntegerAs::kAsInteger, CounterFields());
}

void TDataUcto::SetDirectory(const std::string& directory) {
  for (const dbf::DbfDataSet* table : {&Pohledavky, &Adresar, &Ciselnik}) {
    if (table->active())
      throw dbf::DatasetError("Cannot perform this operation on an open dataset");
  }
  Pohledavky.SetDatabaseName(directory);
  Adresar.SetDatabaseName(directory);
  Ciselnik.SetDatabaseName(directory);
}

}  // namespace accounting
