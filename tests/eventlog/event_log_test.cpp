#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <latch>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "eventlog/EventLog.h"
#include "installer/temp_folder.h"

namespace {

using eventlog::EventLog;
using eventlog::Severity;
using installer_test::TempFolder;
using ::testing::ElementsAre;

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream stream(bytes);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// A line as the log writes it: date, time to the millisecond, process id, text, CR LF.
const std::regex kLineForm(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[pid \d+\] .*\r)");

struct Formatted {
  const char* label;
  Severity severity;
  std::wstring text;
  std::string line;
};

TEST(EventLogLine, CarriesTimeAndProcessAndKeepsTheTextOnOneReadableLine) {
  const platform::LocalTime time{2026, 3, 4, 5, 6, 7, 89};
  const std::string prefix = "2026-03-04 05:06:07.089 [pid 4242] ";
  const std::vector<Formatted> cases = {
      {"plain", Severity::Note, L"Connected.", prefix + "Connected.\r\n"},
      {"warning", Severity::Warning, L"Terminated.", prefix + "WARNING: Terminated.\r\n"},
      {"line breaks and tabs", Severity::Note, L"a\r\nb\tc", prefix + "a  b c\r\n"},
      {"beyond ASCII", Severity::Note, L"Z:\\Fl\u00FCge\\\u20AC",
       prefix + "Z:\\Fl\xC3\xBCge\\\xE2\x82\xAC\r\n"},
      {"long", Severity::Note, std::wstring(5000, L'x'),
       prefix + std::string(2048, 'x') + " [...]\r\n"},
  };
  for (const Formatted& c : cases) {
    EXPECT_EQ(eventlog::FormatLine(time, 4242, c.severity, c.text), c.line) << c.label;
  }
}

TEST(EventLogFile, LinesArriveInOrderAndTheFolderIsCreatedButNotItsParent) {
  TempFolder home;
  {
    EventLog log(home.Wide("Korvane"));
    log.Write(Severity::Note, L"first");
    log.Write(Severity::Warning, L"second");
  }
  const auto lines = Lines(home.Read("Korvane/KorPanels.log").value_or(""));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[0], kLineForm)) << lines[0];
  EXPECT_TRUE(lines[0].ends_with("] first\r"));
  EXPECT_TRUE(lines[1].ends_with("] WARNING: second\r"));

  EventLog orphan(home.Wide("missing/Korvane"));
  orphan.Write(Severity::Note, L"nowhere");
  EXPECT_THAT(home.Names(), ElementsAre("Korvane"));
}

// Numbered lines past three rotations: two files, each within the bound, and the newest
// lines kept without a gap between the older file and the current one.
TEST(EventLogFile, RotationKeepsOneOlderFileAndTheNewestLines) {
  TempFolder home;
  EventLog log(home.Wide());
  const int count = 3 * static_cast<int>(EventLog::kRotateAtBytes) / 60;
  for (int n = 0; n < count; ++n) {
    log.Write(Severity::Note, L"line " + std::to_wstring(n) + L" " + std::wstring(20, L'.'));
  }
  EXPECT_THAT(home.Names(), ElementsAre("KorPanels.1.log", "KorPanels.log"));
  const std::string older = home.Read("KorPanels.1.log").value_or("");
  const std::string current = home.Read("KorPanels.log").value_or("");
  EXPECT_LE(older.size(), EventLog::kRotateAtBytes);
  EXPECT_GT(older.size(), EventLog::kRotateAtBytes - 100);
  EXPECT_LE(current.size(), EventLog::kRotateAtBytes);

  std::vector<std::string> lines = Lines(older);
  for (std::string& line : Lines(current)) lines.push_back(std::move(line));
  const auto number = [](const std::string& line) {
    return std::stoi(line.substr(line.find("] line ") + 7));
  };
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(number(lines.back()), count - 1);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    ASSERT_EQ(number(lines[i]), number(lines[i - 1]) + 1) << "a gap after " << lines[i - 1];
  }
}

// Reader threads log while the user-interface thread does: every line whole, each thread's
// lines in its own order.
TEST(EventLogFile, LinesFromManyThreadsNeverMix) {
  TempFolder home;
  EventLog log(home.Wide());
  constexpr int kThreads = 4;
  constexpr int kEach = 1000;
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, &start, t] {
      start.arrive_and_wait();
      for (int n = 0; n < kEach; ++n) {
        log.Write(Severity::Note, L"thread " + std::to_wstring(t) + L" line " + std::to_wstring(n) +
                                      std::wstring(static_cast<std::size_t>(t) * 7, L'-'));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  std::vector<int> next(kThreads, 0);
  const std::regex form(R"(.*\] thread (\d) line (\d+)(-*)\r)");
  const auto lines = Lines(home.Read("KorPanels.log").value_or(""));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEach));
  for (const std::string& line : lines) {
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(line, parts, form) && std::regex_match(line, kLineForm)) << line;
    const int t = std::stoi(parts[1]);
    EXPECT_EQ(std::stoi(parts[2]), next[t]++);
    EXPECT_EQ(parts[3].length(), static_cast<std::size_t>(t) * 7);
  }
}

}  // namespace
