// The driver's own writes go through the program's seam for file operations
// (base/file_io.h), like every other writer's: SQLite's Unix layer lets its
// system calls be replaced, and the writing ones are replaced here.
#include <sqlite3.h>
#include <unistd.h>

#include <mutex>

#include "base/file_io.h"
#include "platform/storage/file_table.h"

namespace tx::storage {

namespace {

ssize_t SeamWrite(int fd, const void* data, size_t size) { return Files().Write(fd, data, size); }
ssize_t SeamPwrite(int fd, const void* data, size_t size, off_t offset) {
  return Files().Write(fd, data, size, offset);
}
int SeamUnlink(const char* path) { return Files().Unlink(path); }

}  // namespace

void UseFileSeam() {
  static std::once_flag once;
  std::call_once(once, [] {
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (!vfs || vfs->iVersion < 3 || !vfs->xSetSystemCall) return;
    // Whichever of these the library was built to use; a name it does not
    // know is refused and changes nothing.
    vfs->xSetSystemCall(vfs, "write", reinterpret_cast<sqlite3_syscall_ptr>(&SeamWrite));
    vfs->xSetSystemCall(vfs, "pwrite", reinterpret_cast<sqlite3_syscall_ptr>(&SeamPwrite));
    vfs->xSetSystemCall(vfs, "pwrite64", reinterpret_cast<sqlite3_syscall_ptr>(&SeamPwrite));
    vfs->xSetSystemCall(vfs, "unlink", reinterpret_cast<sqlite3_syscall_ptr>(&SeamUnlink));
  });
}

}  // namespace tx::storage
