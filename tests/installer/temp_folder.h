#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace installer_test {

// A fresh folder under the system's temporary folder; removed with its content at the end.
// Files are read and written here in binary, apart from the code under test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path Path(std::string_view relative = {}) const;
  // The path as the installer takes it: wide, with Windows separators appended by it.
  std::wstring Wide(std::string_view relative = {}) const;
  void MakeFolder(std::string_view relative) const;
  void Write(std::string_view relative, std::string_view bytes) const;
  std::optional<std::string> Read(std::string_view relative) const;
  // Names of everything in the folder or the subfolder, sorted.
  std::vector<std::string> Names(std::string_view relative = {}) const;

 private:
  std::filesystem::path root_;
};

// The text with every line feed written as CR LF, the way the simulator's files hold it.
std::string Crlf(std::string_view text);

}  // namespace installer_test
