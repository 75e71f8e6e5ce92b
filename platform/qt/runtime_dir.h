#pragma once
// Qt keeps per-user runtime files under $XDG_RUNTIME_DIR and complains on
// stderr where the session set none (a tool's child, root, cron). Where it is
// missing, the process makes its own before Qt starts: a directory private to
// the user (mode 0700) under the temporary directory, removed when the
// process ends. A directory given by the session is used as it is.
namespace tx {

void EnsureRuntimeDir();

}  // namespace tx
