#include "export_job.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "accounting/data_ucto.h"
#include "accounting/dry_run_export.h"
#include "accounting/invoice_export.h"
#include "dbf/charset_tables.h"
#include "dbf/system_path.h"
#include "store/data_module.h"

namespace saldex_export {
namespace {

// What the main window's FormCreate does before the first command: the
// invoice table in tag DO1 on its last invoice, the receivables and the
// address book open, the counter table pointed at CestaExport. An error
// there runs the index rebuild and opens the invoices again.
// A dry run changes no file, so it does not rebuild indexes (`may_rebuild`).
bool OpenLikeMainWindow(store::TData& data, accounting::TDataUcto& ucto, bool may_rebuild) {
  try {
    data.OpenFak(0, "DO1");
    ucto.Pohledavky.Close();
    ucto.Adresar.Close();
    ucto.Ciselnik.Close();
    ucto.SetDirectory(data.settings.ExportDirectory);
    ucto.Pohledavky.Open();
    ucto.Adresar.Open();
    data.Faktury().Last();
    return true;
  } catch (const std::exception&) {
    if (!may_rebuild || !data.Index()) return false;
    data.OpenFak(0, "DO1");
    if (!data.Faktury().active()) return false;
    data.Faktury().Last();
    // The Saldex 2 tables are tried again by the export itself.
    return true;
  }
}

// One summary line: the UTF-8 label padded to 36 characters, the count.
void PrintLine(std::ostream& out, const std::string& label, int value) {
  size_t characters = 0;
  for (const char c : label) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  char number[16];
  std::snprintf(number, sizeof number, "%8d", value);
  out << "  " << label << std::string(characters < 36 ? 36 - characters : 0, ' ') << number << "\n";
}

void PrintSummary(std::ostream& out, const accounting::ExportSummary& s) {
  out << "Souhrn exportu:\n";
  PrintLine(out, "faktur přečteno", s.read);
  PrintLine(out, "převedeno do Saldex 2", s.exported);
  PrintLine(out, "již v Saldex 2", s.already_present);
  PrintLine(out, "mimo výběr (SalExpFil)", s.not_selected);
  PrintLine(out, "odběratel nenalezen", s.customer_missing);
  PrintLine(out, "odběratel bez IČO nebo DIČ", s.customer_incomplete);
  PrintLine(out, "nových adres v ADRESAR.DBF", s.addresses_added);
}

// One line per invoice of a dry run: number, customer code, what the export
// would do with it.
void PrintOutcome(std::ostream& out, const accounting::InvoiceOutcome& o) {
  std::string line = dbf::Cp1250ToUtf8(o.invoice);
  line.resize(std::max<size_t>(line.size(), 12), ' ');
  std::string customer = dbf::Cp1250ToUtf8(o.customer_code);
  customer.resize(std::max<size_t>(customer.size(), 9), ' ');
  out << "  " << line << " " << customer << " " << dbf::Cp1250ToUtf8(DecisionText(o.decision))
      << (o.address_added ? ", nová adresa" : "") << "\n";
}

}  // namespace

int RunExport(const std::string& program_dir, store::Operator& op, std::ostream& out,
              bool dry_run) {
  // The directory comes from the command line or the environment: a file
  // system (UTF-8) name; the program composes paths in code page 1250.
  store::TData data(op, dbf::ProgramPath(program_dir));
  data.DataCreate();
  if (!data.settings_read() || data.terminate_requested()) return 1;
  if (!data.data_available()) {
    out << "Data obchodu nejsou dostupná, export neproběhl.\n";
    return 1;
  }
  accounting::TDataUcto ucto;
  if (!OpenLikeMainWindow(data, ucto, !dry_run)) {
    out << "Tabulku faktur nelze otevřít, export neproběhl.\n";
    return 1;
  }
  const accounting::StoreSide store{data.Faktury(), data.Odberatele(),
                                    [&data] { return data.OpenOdb(0, "KOD"); },
                                    [&data] { data.CloseOdb(); }, data.settings.ExportPrefix};
  accounting::InvoiceExport exporter(store, ucto, op);
  accounting::DryRunExport rehearsal(store, data.settings.ExportDirectory, op);
  int status = 0;
  try {
    if (dry_run) {
      ucto.Pohledavky.Close();
      ucto.Adresar.Close();
      out << "Zkouška exportu, nic se nezapíše:\n";
      rehearsal.Run([&out](const accounting::InvoiceOutcome& o) { PrintOutcome(out, o); });
    } else {
      exporter.Run();
    }
  } catch (const std::exception& e) {
    // The engine's errors carry code page 1250 text.
    out << "Export přerušen: " << dbf::Cp1250ToUtf8(e.what()) << "\n";
    status = 1;
  }
  PrintSummary(out, dry_run ? rehearsal.summary() : exporter.summary());
  return status;
}

}  // namespace saldex_export
