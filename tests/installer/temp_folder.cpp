#include "installer/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace installer_test {

TempFolder::TempFolder() {
  std::random_device random;
  do {
    root_ = std::filesystem::temp_directory_path() / ("kor-installer-" + std::to_string(random()));
  } while (!std::filesystem::create_directory(root_));
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempFolder::Path(std::string_view relative) const {
  return relative.empty() ? root_ : root_ / relative;
}

std::wstring TempFolder::Wide(std::string_view relative) const {
  return Path(relative).wstring();
}

void TempFolder::MakeFolder(std::string_view relative) const {
  std::filesystem::create_directories(Path(relative));
}

void TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  std::ofstream(Path(relative), std::ios::binary).write(bytes.data(), bytes.size());
}

std::optional<std::string> TempFolder::Read(std::string_view relative) const {
  std::ifstream file(Path(relative), std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<std::string> TempFolder::Names(std::string_view relative) const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Path(relative))) {
    names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  return names;
}

std::string Crlf(std::string_view text) {
  std::string bytes;
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

}  // namespace installer_test
