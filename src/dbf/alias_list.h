#ifndef SALDEX_DBF_ALIAS_LIST_H_
#define SALDEX_DBF_ALIAS_LIST_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dbf {

// Process-wide Name=Path lines that turn a cursor's DatabaseName into a
// directory. Filled on first use from section "Alias" of "tabulon.cfg" in
// the configuration directory (/etc unless changed); names are compared
// without regard to case. Only the user-interface thread touches it.
class AliasList {
 public:
  static AliasList& Global();
  // Where "tabulon.cfg" is read from; tests point it elsewhere and reload.
  static void SetConfigDirectory(const std::string& directory);
  static const std::string& ConfigDirectory();

  // Replaces every line with those of section "Alias" of
  // `directory`/tabulon.cfg; empty when the file or the section is missing.
  void LoadFrom(const std::string& directory);
  void Clear() { lines_.clear(); }

  bool Contains(std::string_view name) const;
  // The path of `name`; empty when absent.
  std::string Value(std::string_view name) const;
  // Adds name=path, or replaces the path of an existing name.
  void Set(std::string_view name, std::string_view path);
  const std::vector<std::pair<std::string, std::string>>& lines() const { return lines_; }

 private:
  std::vector<std::pair<std::string, std::string>> lines_;
};

// "Default Directory": the directory holding the running program, with a
// trailing "/".
std::string ProgramDirectory();

}  // namespace dbf

#endif  // SALDEX_DBF_ALIAS_LIST_H_
