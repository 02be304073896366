#ifndef SALDEX_JOBS_REINDEX_JOB_H_
#define SALDEX_JOBS_REINDEX_JOB_H_

#include <string>

#include "store/operator.h"

namespace jobs {

// The batch index rebuild: the data module's start-up (settings file in
// `program_dir`, a file system name (UTF-8), or beside the executable when
// empty) and then the rebuild
// of every store index file, talking to `op`. Returns the exit status: 0 when
// every table present was rebuilt, 1 when the settings file is missing, the
// start-up found the data unavailable (no users table in CestaData) or asked
// to end the program, no table named by the StoreCode exists, the data
// directory may not be written to, a table failed (the message names the
// operating system's reason, such as a full disk), or a table ends with a cut
// record (warned about; its whole records are indexed).
int RunReindex(const std::string& program_dir, store::Operator& op);

}  // namespace jobs

#endif  // SALDEX_JOBS_REINDEX_JOB_H_
