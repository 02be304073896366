#include "jobs/reindex_job.h"

#include "dbf/system_path.h"
#include "store/data_module.h"

namespace jobs {

int RunReindex(const std::string& program_dir, store::Operator& op) {
  // The directory comes from the command line or the environment: a file
  // system (UTF-8) name; the program composes paths in code page 1250.
  store::TData data(op, dbf::ProgramPath(program_dir));
  data.DataCreate();
  if (!data.settings_read() || data.terminate_requested()) return 1;
  // An error on the automatic sign-in path has already run the rebuild.
  if (data.rebuild_count() == 0) data.Index();
  // The rebuild also runs without the users table: it may still repair the
  // tables that are there. A store none of whose own tables exist is no store.
  // A cut table is indexed without its cut record, which needs mending.
  const bool store_found = data.data_available() && data.store_tables_found() > 0;
  return store_found && !data.rebuild_refused() && data.failed_tables().empty() &&
                 data.cut_tables().empty()
             ? 0
             : 1;
}

}  // namespace jobs
