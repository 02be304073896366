#include "dbf/open_file_registry.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "dbf/disk_file.h"

namespace dbf {
namespace {

// Never destroyed, so files closed by static destructors that run after the
// exit handler still find a valid list.
std::vector<DiskFile*>& Files() {
  static auto* files = new std::vector<DiskFile*>();
  return *files;
}

void CloseAllAtExit() {
  OpenFileRegistry::CloseAll();
}

}  // namespace

void OpenFileRegistry::Add(DiskFile* file) {
  static const bool exit_handler_installed = (std::atexit(CloseAllAtExit) == 0);
  (void)exit_handler_installed;
  std::vector<DiskFile*>& files = Files();
  if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
}

void OpenFileRegistry::Remove(DiskFile* file) {
  std::vector<DiskFile*>& files = Files();
  files.erase(std::remove(files.begin(), files.end(), file), files.end());
}

int OpenFileRegistry::Count() {
  return static_cast<int>(Files().size());
}

void OpenFileRegistry::CloseAll() {
  // Close() removes the file from the list; a copy keeps the loop valid.
  const std::vector<DiskFile*> snapshot = Files();
  for (DiskFile* file : snapshot) file->Close();
  Files().clear();
}

}  // namespace dbf
