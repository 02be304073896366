#include "accounting/export_tables.h"

#include <algorithm>
#include <exception>

#include "dbf/errors.h"
#include "store/store_messages.h"

namespace accounting {
namespace {

bool OpenInvoices(store::TData& data, ExportTablesState& state) {
  try {
    if (!data.OpenFak("DO1")) {
      throw dbf::DatasetError(dbf::FormatMessage("Cannot open %s with index file %s and tag DO1",
                                                 data.Faktury().table_name(),
                                                 data.FakturyIndexFile()));
    }
    data.Faktury().Last();
    return true;
  } catch (const std::exception& error) {
    state.error = error.what();
    return false;
  }
}

bool OpenSaldex(const std::string& directory, TDataUcto& ucto, ExportTablesState& state) {
  try {
    ucto.Pohledavky.Close();
    ucto.Adresar.Close();
    ucto.Ciselnik.Close();
    ucto.SetDirectory(directory);
    ucto.Pohledavky.Open();
    ucto.Adresar.Open();
    return true;
  } catch (const std::exception& error) {
    state.error = error.what();
    return false;
  }
}

bool TryOnce(store::TData& data, TDataUcto& ucto, ExportTablesState& state) {
  state.invoices_open = OpenInvoices(data, state);
  state.saldex_open = OpenSaldex(data.settings.ExportDirectory, ucto, state);
  return state.complete();
}

bool WarnedByRebuild(const store::TData& data) {
  const auto& cut = data.cut_tables();
  return std::find(cut.begin(), cut.end(), "Faktury") != cut.end();
}

}  // namespace

ExportTablesState OpenExportTables(store::TData& data, TDataUcto& ucto, bool may_rebuild) {
  ExportTablesState state;
  if (!TryOnce(data, ucto, state) && may_rebuild) {
    // An invoice table left open without its index would be open still
    // after the rebuild, in the wrong order.
    data.CloseFak();
    if (data.Index()) {
      state.rebuilt = true;
      state.error.clear();
      TryOnce(data, ucto, state);
    }
  }
  dbf::DbfDataSet& invoices = data.Faktury();
  if (invoices.active() && invoices.file().HasPartialRecord()) {
    state.invoices_cut = true;
    if (!(state.rebuilt && WarnedByRebuild(data))) {
      data.op.ShowMessage(store::CutTableText(invoices.file().path()), store::kApplicationTitle);
    }
  }
  return state;
}

}  // namespace accounting
