#include "platform/log_file.h"

#include <windows.h>

#include <string>

namespace platform {
namespace {

HANDLE AsHandle(std::intptr_t native) {
  return reinterpret_cast<HANDLE>(native);
}

}  // namespace

bool EnsureFolder(std::wstring_view path) {
  const std::wstring folder(path);
  if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Appending access (and the size): the system puts every write at the end, also when another
// process appends too. Sharing delete lets a rotation elsewhere move the file while it is open.
AppendFile::AppendFile(std::wstring_view path) {
  const HANDLE file =
      CreateFileW(std::wstring(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) native_ = reinterpret_cast<std::intptr_t>(file);
}

AppendFile::~AppendFile() {
  if (IsOpen()) CloseHandle(AsHandle(native_));
}

bool AppendFile::Append(std::string_view bytes) {
  if (!IsOpen()) return false;
  DWORD written = 0;
  return WriteFile(AsHandle(native_), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) &&
         written == bytes.size();
}

std::optional<std::uint64_t> AppendFile::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !GetFileSizeEx(AsHandle(native_), &size)) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

bool MoveReplacing(std::wstring_view from, std::wstring_view to) {
  return MoveFileExW(std::wstring(from).c_str(), std::wstring(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING) != 0;
}

LocalTime LocalTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint32_t CurrentProcessId() {
  return GetCurrentProcessId();
}

}  // namespace platform
