#include "jobs/export_job.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "accounting/data_ucto.h"
#include "accounting/dry_run_export.h"
#include "accounting/export_tables.h"
#include "accounting/invoice_export.h"
#include "dbf/charset_tables.h"
#include "dbf/system_path.h"
#include "store/data_module.h"

namespace jobs {
namespace {

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
  data.set_read_only(dry_run);
  data.DataCreate();
  if (!data.settings_read() || data.terminate_requested()) return 1;
  if (!data.data_available()) {
    out << "Data obchodu nejsou dostupná, export neproběhl.\n";
    return 1;
  }
  accounting::TDataUcto ucto;
  // A dry run writes nothing, not even a rebuilt store index.
  const accounting::ExportTablesState opened =
      accounting::OpenExportTables(data, ucto, /*may_rebuild=*/!dry_run);
  if (!opened.invoices_open) {
    out << "Tabulku faktur nelze otevřít, export neproběhl: " << dbf::Cp1250ToUtf8(opened.error)
        << "\n";
    if (dry_run) out << "Index faktur obnoví saldex-export --reindex.\n";
    return 1;
  }
  // The Saldex 2 tables are tried again by the export itself, which reports
  // what is wrong with them.
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
    } else if (!exporter.Run()) {
      out << "Export neproběhl: jiný export do Saldex 2 právě probíhá.\n";
      status = 1;
    }
  } catch (const std::exception& e) {
    // The engine's errors carry code page 1250 text.
    out << "Export přerušen: " << dbf::Cp1250ToUtf8(e.what()) << "\n";
    status = 1;
  }
  PrintSummary(out, dry_run ? rehearsal.summary() : exporter.summary());
  // The cut invoice was not read: the run is not the whole export.
  if (opened.invoices_cut) {
    out << "Tabulka faktur končí neúplným záznamem, ten nebyl převeden.\n";
    status = 1;
  }
  return status;
}

}  // namespace jobs
