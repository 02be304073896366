#ifndef SALDEX_JOBS_EXPORT_JOB_H_
#define SALDEX_JOBS_EXPORT_JOB_H_

#include <ostream>
#include <string>

#include "store/operator.h"

namespace jobs {

// The batch invoice export: the data module's start-up (settings file in
// `program_dir`, a file system name (UTF-8), or beside the executable when
// empty), the tables opened by the routine the main window opens them with
// (accounting::OpenExportTables: invoices with tag "DO1", the store index
// rebuild and a second try when that fails; KPOHLED.DBF and ADRESAR.DBF in
// CestaExport), then the export of every invoice, its messages going to
// `op`. Ends with a summary on `out` (UTF-8), also after an error, which is
// printed there too. Returns the exit status: 0 when the export ran to its
// end; 1 when it did not (also when the start-up found the data unavailable,
// the invoice table could not be opened, or another export was running),
// and when the invoice table ends with a cut record, which is warned about
// and left out.
// `dry_run`: the export's walk on copies of the Saldex 2 tables, one line per
// invoice on `out` saying what the export would do; the store tables are
// opened read-only and no file is written (not even a store index rebuilt:
// an invoice index that cannot be opened ends the dry run with status 1).
int RunExport(const std::string& program_dir, store::Operator& op, std::ostream& out,
              bool dry_run = false);

}  // namespace jobs

#endif  // SALDEX_JOBS_EXPORT_JOB_H_
