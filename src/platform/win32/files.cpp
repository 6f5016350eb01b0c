#include "platform/files.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>

namespace platform {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

UniqueHandle Open(const std::wstring& path, DWORD access, DWORD disposition) {
  HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring FolderOf(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

// The full path in its extended-length form, to which no MAX_PATH limit applies; empty when
// the path cannot be made full.
std::wstring ExtendedLengthPath(const std::wstring& path) {
  constexpr std::wstring_view kExtended = L"\\\\?\\";
  if (path.starts_with(kExtended)) return path;
  std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
  const DWORD length =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return {};
  full.resize(length);
  // A share's path \\server\share becomes \\?\UNC\server\share.
  if (full.starts_with(L"\\\\")) return std::wstring(kExtended) + L"UNC" + full.substr(1);
  return std::wstring(kExtended) + full;
}

// A uniquely named file beside the target, deleted again unless it was moved into place.
// Its name is our own in the extended-length form: a folder too deep for GetTempFileNameW
// may still hold the target, and then it holds this file as well.
class TemporaryFile {
 public:
  TemporaryFile(const std::wstring& target, DWORD attributes) {
    static std::atomic<unsigned> serial;
    const std::wstring stem =
        FolderOf(target) + L"\\.kor-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      std::wstring name = stem + std::to_wstring(serial++);
      HANDLE handle =
          CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
      if (handle != INVALID_HANDLE_VALUE) {
        file_.reset(handle);
        path_ = std::move(name);
        return;
      }
      // Only a name left over by an earlier process is worth another try.
      if (GetLastError() != ERROR_FILE_EXISTS) return;
    }
  }
  ~TemporaryFile() {
    file_.reset();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsCreated() const { return !path_.empty(); }
  HANDLE handle() const { return file_.get(); }
  void Close() { file_.reset(); }
  const std::wstring& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  static constexpr int kAttempts = 100;

  UniqueHandle file_;
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

// ReplaceFileW keeps the existing file's security descriptor and identity. The old file
// goes to a backup name first, so that a replace that stops halfway can be undone. Where
// ReplaceFileW cannot act at all (no file left to replace, a file system without it), the
// plain move swaps the content in.
bool Replace(const std::wstring& target, const std::wstring& replacement) {
  TemporaryFile backup(target, FILE_ATTRIBUTE_NORMAL);
  if (!backup.IsCreated()) return false;
  backup.Close();
  if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.path().c_str(),
                   REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                   nullptr)) {
    return true;
  }
  if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    return MoveFileExW(replacement.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  // The old file already stands under the backup name: the new one goes in its place, or
  // else the old one back. Should that fail too, the old file stays under the backup name.
  if (MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  const std::wstring saved = backup.path();
  backup.Release();
  MoveFileExW(saved.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  return false;
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
  const std::wstring target = ExtendedLengthPath(std::wstring(path));
  if (target.empty()) return false;
  const DWORD existing = GetFileAttributesW(target.c_str());
  const bool exists = existing != INVALID_FILE_ATTRIBUTES;
  // A folder is never replaced: ReplaceFileW would move it aside under Wine.
  if (exists && (ifExists == IfExists::Keep || (existing & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
    return false;
  }
  // The rewritten file stays as hidden or as much a system file as it was; read-only stays
  // out, it would forbid the rewrite itself.
  const DWORD kept = exists ? existing & kKeptAttributes : 0;
  TemporaryFile temporary(target, kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept);
  if (!temporary.IsCreated() || !WriteAll(temporary.handle(), bytes)) return false;
  temporary.Close();
  DWORD moveFlags = MOVEFILE_WRITE_THROUGH;
  if (ifExists == IfExists::Replace) moveFlags |= MOVEFILE_REPLACE_EXISTING;
  const bool placed = exists
                          ? Replace(target, temporary.path())
                          : MoveFileExW(temporary.path().c_str(), target.c_str(), moveFlags) != 0;
  if (placed) temporary.Release();
  return placed;
}

}  // namespace platform
