#include "simstub/ClientEvents.h"

#include <utility>

#include "simstub/Names.h"

namespace simstub {

using simconnect::Dword;

void ClientEvents::Map(Dword event, std::string name) {
  names_[event] = std::move(name);
}

const std::string* ClientEvents::NameOf(Dword event) const {
  const auto found = names_.find(event);
  return found == names_.end() ? nullptr : &found->second;
}

void ClientEvents::AddToGroup(Dword group, Dword event) {
  groups_[group].events.insert(event);
}

void ClientEvents::SetPriority(Dword group, Dword priority) {
  groups_[group].priority = priority;
}

std::vector<Dword> ClientEvents::GroupsNotified(Dword event) const {
  std::vector<Dword> notified;
  for (const auto& [id, group] : groups_) {
    if (group.priority && group.events.contains(event)) notified.push_back(id);
  }
  return notified;
}

void ClientEvents::Subscribe(Dword event, std::string systemEvent) {
  subscriptions_[event] = std::move(systemEvent);
}

void ClientEvents::Unsubscribe(Dword event) {
  subscriptions_.erase(event);
}

std::vector<Dword> ClientEvents::Subscribers(std::string_view systemEvent) const {
  std::vector<Dword> subscribers;
  for (const auto& [id, name] : subscriptions_) {
    if (SameName(name, systemEvent)) subscribers.push_back(id);
  }
  return subscribers;
}

}  // namespace simstub
