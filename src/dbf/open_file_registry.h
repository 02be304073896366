#ifndef SALDEX_DBF_OPEN_FILE_REGISTRY_H_
#define SALDEX_DBF_OPEN_FILE_REGISTRY_H_

namespace dbf {

class DiskFile;

// Process-wide list of open DiskFiles. At process end (exit or return from
// main) every file still listed releases its lock and is closed.
class OpenFileRegistry {
 public:
  static void Add(DiskFile* file);
  static void Remove(DiskFile* file);
  static int Count();
  // Releases every lock and closes every listed file.
  static void CloseAll();
};

}  // namespace dbf

#endif  // SALDEX_DBF_OPEN_FILE_REGISTRY_H_
