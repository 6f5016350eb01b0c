#include "platform/files.h"

#include <windows.h>

#include <array>
#include <memory>

namespace platform {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle Open(const std::wstring& path, DWORD access, DWORD disposition) {
  HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring FolderOf(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

// A uniquely named file beside the target, deleted again unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& target) {
    std::array<wchar_t, MAX_PATH> name{};
    if (GetTempFileNameW(FolderOf(target).c_str(), L"kor", 0, name.data()) != 0) {
      path_ = name.data();
    }
  }
  ~TemporaryFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::wstring& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::wstring path_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return FlushFileBuffers(file) != 0;
}

}  // namespace

bool PathExists(std::wstring_view path) {
  return GetFileAttributesW(std::wstring(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadFileBytes(std::wstring_view path) {
  const UniqueHandle file = Open(std::wstring(path), GENERIC_READ, OPEN_EXISTING);
  if (!file) return std::nullopt;
  std::string bytes;
  std::array<char, 4096> chunk;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) return bytes;
    bytes.append(chunk.data(), read);
  }
}

bool WriteFileWhole(std::wstring_view path, std::string_view bytes, IfExists ifExists) {
  const std::wstring target(path);
  TemporaryFile temporary(target);
  if (temporary.path().empty()) return false;
  {
    const UniqueHandle file = Open(temporary.path(), GENERIC_WRITE, TRUNCATE_EXISTING);
    if (!file || !WriteAll(file.get(), bytes)) return false;
  }
  DWORD flags = MOVEFILE_WRITE_THROUGH;
  if (ifExists == IfExists::Replace) flags |= MOVEFILE_REPLACE_EXISTING;
  if (!MoveFileExW(temporary.path().c_str(), target.c_str(), flags)) return false;
  temporary.Release();
  return true;
}

}  // namespace platform
