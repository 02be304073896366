#ifndef SALDEX_ACCOUNTING_DATA_UCTO_H_
#define SALDEX_ACCOUNTING_DATA_UCTO_H_

#include <string>

#include "dbf/data_set.h"

namespace accounting {

// The accounting data module: the three Saldex 2 tables the export writes.
// Each is opened shared with LockProtocol Default, OEM text translation on,
// deleted records hidden, no automatic flush, user id 0 and no index file, so
// every table is read in record-number order. The tables' fields are declared
// (saldex_fields.h), so Open raises "Cannot find file %s", "Field '%s' not
// found" or "Type mismatch for field '%s', expecting: %s actual: %s" when the
// file does not fit. The module never creates these files.
class TDataUcto {
 public:
  TDataUcto();
  TDataUcto(const TDataUcto&) = delete;
  TDataUcto& operator=(const TDataUcto&) = delete;

  // Gives all three tables the Saldex 2 directory (ExportDirectory). Raises
  // "Cannot perform this operation on an open dataset" and changes nothing
  // when any of them is open.
  void SetDirectory(const std::string& directory);

  dbf::DbfDataSet Pohledavky;  // "KPOHLED.DBF", large integers as 64-bit
  dbf::DbfDataSet Adresar;     // "ADRESAR.DBF"
  dbf::DbfDataSet Ciselnik;    // "SYSTEMAK.DBF": POHLEDAVKY of the first record
};

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_DATA_UCTO_H_
