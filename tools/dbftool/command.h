#ifndef SALDEX_TOOLS_DBFTOOL_COMMAND_H_
#define SALDEX_TOOLS_DBFTOOL_COMMAND_H_

#include <string>
#include <vector>

namespace dbftool {

// A subcommand: receives the arguments after its name and returns the exit
// status (0 success, 1 failure, 2 usage). Errors of the engine are caught by
// main and printed to stderr with exit status 1.
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;  // e.g. "info FILE"
  CommandFunction run;
};

// Each command file registers itself with a static CommandRegistration.
class CommandRegistration {
 public:
  explicit CommandRegistration(Command command);
};

const std::vector<Command>& Commands();
// Prints "usage: dbftool " + the command's usage to stderr and returns 2.
int Usage(const char* name);

}  // namespace dbftool

#endif  // SALDEX_TOOLS_DBFTOOL_COMMAND_H_
