#include "store/store_messages.h"

#include <optional>

#include "dbf/file_names.h"
#include "store/ansi_text.h"
#include "store/rebuild_catalogue.h"
#include "store/write_access.h"

namespace store {

std::string CutTableText(const std::string& table_path) {
  // Named as the directory spells it.
  const std::optional<std::string> found = dbf::FindFileIgnoringCase(table_path);
  return Ansi("Tabulka ") + found.value_or(table_path) +
         Ansi(
             " končí neúplným záznamem; ten se nepoužije. Opravte ji příkazem "
             "\"dbftool mend\".");
}

std::string RebuildFailureText(const RebuildTable& rebuild, const std::string& data_file,
                               const std::string& index_file, bool opened,
                               const std::string& error) {
  if (opened) {
    return Ansi("Index ") + index_file + Ansi(" nelze vytvořit: ") + error;
  }
  if (const auto refusal = WriteRefusal(data_file)) {
    return Ansi("Tabulku ") + data_file + Ansi(" nelze otevřít pro zápis: ") + *refusal;
  }
  // The file layer refuses an exclusive open that another open holds off as
  // "Access denied to file %s"; every other refusal names its cause.
  if (error.starts_with("Access denied to file ")) return rebuild.exclusive_failure_message;
  return Ansi("Tabulku ") + data_file + Ansi(" nelze otevřít: ") + error;
}

}  // namespace store
