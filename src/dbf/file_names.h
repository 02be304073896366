#ifndef SALDEX_DBF_FILE_NAMES_H_
#define SALDEX_DBF_FILE_NAMES_H_

#include <optional>
#include <string>

namespace dbf {

// Paths are code page 1250 text; these functions reach the file system
// through SystemPath (system_path.h). File names are compared without regard
// to (ASCII) case. Returns `path`
// when it exists, else the path of the one directory entry whose name equals
// the last component without regard to case, else nullopt.
std::optional<std::string> FindFileIgnoringCase(const std::string& path);
bool FileExistsIgnoringCase(const std::string& path);

// Deletes `path` and every differently-cased copy of it in its directory, so
// that a file created afterwards has exactly the given spelling.
void RemoveFileIgnoringCase(const std::string& path);

// Deletes `path` as spelled; false when it could not be deleted (or is missing).
bool RemoveFile(const std::string& path);
// Creates `path` as an empty file; false when it exists or cannot be created.
bool CreateEmptyFile(const std::string& path);

// Adds `extension` (e.g. ".DBF") when the last path component has none.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);
// Last path component without directory and extension.
std::string BaseNameWithoutExtension(const std::string& path);
// Makes a relative path absolute against the current directory.
std::string ExpandFileName(const std::string& path);

}  // namespace dbf

#endif  // SALDEX_DBF_FILE_NAMES_H_
