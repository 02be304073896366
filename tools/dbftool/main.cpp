// dbftool: inspects and mends tables and index files from the command line.
// Output is UTF-8; table text is decoded from code page 852.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/errors.h"
#include "dbf/system_path.h"

namespace dbftool {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintUsage(std::FILE* out) {
  std::fputs("usage: dbftool COMMAND ARGS...\n       dbftool --help | --version\ncommands:\n", out);
  for (const Command& c : Commands()) std::fprintf(out, "  dbftool %s\n", c.usage);
  std::fputs(
      "Exit status: 0 success (check: no damage; seek, locate: found), 1 error (check:\n"
      "damage; seek, locate: not found), 2 usage. See dbftool(1).\n",
      out);
}

}  // namespace

CommandRegistration::CommandRegistration(Command command) {
  Registry().push_back(command);
}

const std::vector<Command>& Commands() {
  return Registry();
}

int Usage(const char* name) {
  for (const Command& c : Commands()) {
    if (std::strcmp(c.name, name) == 0) std::fprintf(stderr, "usage: dbftool %s\n", c.usage);
  }
  return 2;
}

}  // namespace dbftool

int main(int argc, char** argv) {
  using dbftool::Commands;
  if (argc < 2) {
    dbftool::PrintUsage(stderr);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "--help") {
    dbftool::PrintUsage(stdout);
    return 0;
  }
  if (name == "--version") {
    std::printf("dbftool %s\n", SALDEX_VERSION);
    return 0;
  }
  for (const dbftool::Command& c : Commands()) {
    if (name != c.name) continue;
    try {
      return c.run(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const std::exception& e) {
      // The engine's messages are code page 1250 text (paths included).
      std::fprintf(stderr, "%s\n", dbf::Cp1250ToUtf8(e.what()).c_str());
      return 1;
    }
  }
  dbftool::PrintUsage(stderr);
  return 2;
}
