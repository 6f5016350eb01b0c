#include "eventlog/ProcessLog.h"

#include <atomic>

#include "platform/folders.h"

namespace eventlog {
namespace {

std::atomic<EventLog*> current{nullptr};

void Write(Severity severity, std::wstring_view text) {
  if (EventLog* log = current.load(std::memory_order_acquire)) log->Write(severity, text);
}

}  // namespace

ProcessLog::ProcessLog() : ProcessLog(platform::LocalApplicationDataFolder()) {}

ProcessLog::ProcessLog(const std::optional<std::wstring>& applicationData) {
  if (applicationData) {
    log_ = std::make_unique<EventLog>(*applicationData + L"\\" + std::wstring(kFolderName));
  }
  previous_ = current.exchange(log_.get(), std::memory_order_acq_rel);
}

ProcessLog::~ProcessLog() {
  current.store(previous_, std::memory_order_release);
}

std::optional<std::wstring> ProcessLog::Path() const {
  if (!log_) return std::nullopt;
  return log_->Path();
}

void Note(std::wstring_view text) {
  Write(Severity::Note, text);
}

void Warning(std::wstring_view text) {
  Write(Severity::Warning, text);
}

}  // namespace eventlog
