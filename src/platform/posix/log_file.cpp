#include "platform/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/posix/native_path.h"

namespace platform {
namespace {

// Modes of what the log creates, as they come out under the usual umask.
constexpr mode_t kFolderMode = 0755;
constexpr mode_t kFileMode = 0644;

int AsDescriptor(std::intptr_t native) {
  return static_cast<int>(native);
}

}  // namespace

bool EnsureFolder(std::wstring_view path) {
  const auto folder = posix::NativePath(path);
  if (!folder) return false;
  if (mkdir(folder->c_str(), kFolderMode) == 0) return true;
  struct stat status {};
  return errno == EEXIST && stat(folder->c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

AppendFile::AppendFile(std::wstring_view path) {
  const auto file = posix::NativePath(path);
  if (!file) return;
  const int fd = open(file->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kFileMode);
  if (fd >= 0) native_ = fd;
}

AppendFile::~AppendFile() {
  if (IsOpen()) close(AsDescriptor(native_));
}

bool AppendFile::Append(std::string_view bytes) {
  if (!IsOpen()) return false;
  for (;;) {
    const ssize_t written = write(AsDescriptor(native_), bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    return written == static_cast<ssize_t>(bytes.size());
  }
}

std::optional<std::uint64_t> AppendFile::Size() const {
  struct stat status {};
  if (!IsOpen() || fstat(AsDescriptor(native_), &status) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

bool MoveReplacing(std::wstring_view from, std::wstring_view to) {
  const auto source = posix::NativePath(from);
  const auto target = posix::NativePath(to);
  return source && target && std::rename(source->c_str(), target->c_str()) == 0;
}

LocalTime LocalTimeNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(now.tv_nsec / 1000000)};
}

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(getpid());
}

}  // namespace platform
