#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <vector>

#include "simstub/ProcessFigures.h"

namespace simstub {
namespace {

// Under Wine GetProcessHandleCount and GetProcessMemoryInfo answer 0 from inside the
// process; the system's handle table and a walk of the address space answer truly.
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

std::vector<SYSTEM_HANDLE_ENTRY> OwnHandles() {
  std::vector<std::byte> table(64 * 1024);
  NTSTATUS status = 0;
  for (;;) {
    ULONG needed = 0;
    status = NtQuerySystemInformation(SystemHandleInformation, table.data(),
                                      static_cast<ULONG>(table.size()), &needed);
    if (status != kInfoLengthMismatch) break;
    table.resize(std::max<std::size_t>(table.size() * 2, needed + 4096));
  }
  std::vector<SYSTEM_HANDLE_ENTRY> own;
  if (status < 0) return own;
  const auto* all = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(table.data());
  const DWORD process = GetCurrentProcessId();
  for (ULONG each = 0; each < all->Count; ++each) {
    if (all->Handle[each].OwnerPid == process) own.push_back(all->Handle[each]);
  }
  return own;
}

std::wstring TypeOf(USHORT handleValue) {
  alignas(8) std::byte buffer[1024];
  ULONG length = 0;
  const HANDLE handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handleValue));
  if (NtQueryObject(handle, ObjectTypeInformation, buffer, sizeof(buffer), &length) < 0) {
    return L"Unknown";
  }
  const auto& name = reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer)->TypeName;
  return std::wstring(name.Buffer, name.Length / sizeof(wchar_t));
}

}  // namespace

std::string HandleFigures() {
  const auto handles = OwnHandles();
  if (handles.empty()) return "error: no handle table";
  std::map<std::wstring, int> byType;
  for (const auto& handle : handles) ++byType[TypeOf(handle.HandleValue)];
  std::string figures = std::to_string(handles.size());
  for (const auto& [type, count] : byType) {
    figures += ' ' + std::string(type.begin(), type.end()) + ':' + std::to_string(count);
  }
  return figures;
}

std::string PrivateMemoryFigure() {
  std::size_t committed = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const std::byte* at = nullptr; VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
       at = static_cast<const std::byte*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
  }
  return std::to_string(committed);
}

}  // namespace simstub
