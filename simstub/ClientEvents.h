#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "simlink/SimConnectApi.h"

namespace simstub {

// The client's own event ids: what each is mapped to, the notification groups that hold
// them, and its subscriptions to system events.
class ClientEvents {
 public:
  void Map(simconnect::Dword event, std::string name);
  const std::string* NameOf(simconnect::Dword event) const;

  void AddToGroup(simconnect::Dword group, simconnect::Dword event);
  void SetPriority(simconnect::Dword group, simconnect::Dword priority);
  // A group hears of its events only once it has a priority.
  std::vector<simconnect::Dword> GroupsNotified(simconnect::Dword event) const;

  void Subscribe(simconnect::Dword event, std::string systemEvent);
  void Unsubscribe(simconnect::Dword event);
  std::vector<simconnect::Dword> Subscribers(std::string_view systemEvent) const;

 private:
  struct Group {
    std::optional<simconnect::Dword> priority;
    std::set<simconnect::Dword> events;
  };

  std::map<simconnect::Dword, std::string> names_;
  std::map<simconnect::Dword, Group> groups_;
  std::map<simconnect::Dword, std::string> subscriptions_;
};

}  // namespace simstub
