// With KOR_TEST_LOG_FOLDER set, the whole suite runs with the plug-in's log in that local
// application-data folder: a run with a folder the log cannot use must give every test the
// result it has without a log.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "eventlog/ProcessLog.h"

namespace {

class LogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* folder = std::getenv("KOR_TEST_LOG_FOLDER");
    if (!folder) return;
    const std::string bytes(folder);
    log_.emplace(std::wstring(bytes.begin(), bytes.end()));
  }
  void TearDown() override { log_.reset(); }

 private:
  std::optional<eventlog::ProcessLog> log_;
};

[[maybe_unused]] ::testing::Environment* const kRegistered =
    ::testing::AddGlobalTestEnvironment(new LogEnvironment);

}  // namespace
