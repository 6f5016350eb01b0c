#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/posix/native_path.h"

namespace platform {
namespace {

// Mode of a newly created file, as a fresh file gets it under the usual umask.
constexpr mode_t kNewFileMode = 0644;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes now, so that a failing close counts as a failed write.
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// A uniquely named file beside the target, removed again unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) {
    const auto separator = target.find_last_of('/');
    const std::string folder = separator == std::string::npos ? "." : target.substr(0, separator);
    std::string name = folder + "/.kor-XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
      fd_ = std::make_unique<FileDescriptor>(fd);
      path_ = std::move(name);
    }
  }
  ~TemporaryFile() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsCreated() const { return fd_ != nullptr; }
  FileDescriptor& descriptor() { return *fd_; }
  const std::string& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::unique_ptr<FileDescriptor> fd_;
  std::string path_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return fsync(fd) == 0;
}

// Places the finished file: rename replaces atomically, link refuses an existing name.
bool MoveIntoPlace(const std::string& from, const std::string& to, IfExists ifExists) {
  if (ifExists == IfExists::Replace) return rename(from.c_str(), to.c_str()) == 0;
  return link(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool PathExists(std::wstring_view path) {
  const auto native = posix::NativePath(path);
  struct stat status {};
  return native && stat(native->c_str(), &status) == 0;
}

std::optional<std::string> ReadFileBytes(std::wstring_view path) {
  const auto native = posix::NativePath(path);
  if (!native) return std::nullopt;
  FileDescriptor file(open(native->c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return std::nullopt;
  std::string bytes;
  std::array<char, 4096> chunk;
  for (;;) {
    const ssize_t read = ::read(file.get(), chunk.data(), chunk.size());
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return std::nullopt;
    if (read == 0) return bytes;
    bytes.append(chunk.data(), static_cast<std::size_t>(read));
  }
}

bool WriteFileWhole(std::wstring_view path, std::string_view bytes, IfExists ifExists) {
  const auto target = posix::NativePath(path);
  if (!target) return false;
  TemporaryFile temporary(*target);
  if (!temporary.IsCreated()) return false;
  struct stat existing {};
  const mode_t mode =
      stat(target->c_str(), &existing) == 0 ? existing.st_mode & 07777 : kNewFileMode;
  FileDescriptor& file = temporary.descriptor();
  if (fchmod(file.get(), mode) != 0 || !WriteAll(file.get(), bytes) || !file.Close()) {
    return false;
  }
  if (!MoveIntoPlace(temporary.path(), *target, ifExists)) return false;
  if (ifExists == IfExists::Replace) temporary.Release();
  return true;
}

}  // namespace platform
