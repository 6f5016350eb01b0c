#include "platform/session_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/posix/native_path.h"

namespace platform {

// The stand-in's session is the user's home: programs started with the same $HOME share
// it. The name is a lock file there; the system lets the lock go with its process.
SessionMutex::SessionMutex(std::wstring_view name) {
  const char* home = std::getenv("HOME");
  const auto native = posix::NativePath(name);
  if (home == nullptr || *home == '\0' || !native) return;
  const std::string path = std::string(home) + "/." + *native + ".session";
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (file < 0) return;
  // Each open is a holder of its own, within one process too, as each CreateMutexW is.
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    first_ = errno != EWOULDBLOCK;
    close(file);
    return;
  }
  held_ = file;
}

SessionMutex::~SessionMutex() {
  if (held_ != -1) close(static_cast<int>(held_));
}

}  // namespace platform
