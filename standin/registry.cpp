#include "registry.h"

#include <algorithm>

namespace standin {

bool CommandRegistry::Add(CommandEntry entry, std::string* why) {
  if (!entry.callbacks.execute) {
    *why = "command " + std::to_string(entry.id) + " has no execute callback";
    return false;
  }
  if (Find(entry.id)) {
    *why = "command id " + std::to_string(entry.id) + " is already registered";
    return false;
  }
  entries_.push_back(std::move(entry));
  return true;
}

const CommandEntry* CommandRegistry::Find(int32_t id) const {
  for (const auto& e : entries_)
    if (e.id == id) return &e;
  return nullptr;
}

void CommandRegistry::DestroyAll() {
  std::vector<CommandEntry> entries = std::move(entries_);
  entries_.clear();
  for (auto& e : entries)
    if (e.callbacks.destroy) e.callbacks.destroy(e.callbacks.self);
}

MenuPlace PlaceInMenu(const std::string& name) {
  MenuPlace place;
  place.shown = name;
  if (name.compare(0, 2, "#$") != 0) return place;
  size_t end = 2;
  long long n = 0;
  while (end < name.size() && end < 20 && name[end] >= '0' && name[end] <= '9')
    n = n * 10 + (name[end++] - '0');
  if (end == 2) return place;  // "#$" without a number is part of the name
  place.has_order = true;
  place.order = n;
  place.shown = name.substr(end);
  return place;
}

std::vector<size_t> MenuOrder(const std::vector<CommandEntry>& entries) {
  std::vector<MenuPlace> places;
  places.reserve(entries.size());
  for (const CommandEntry& e : entries) places.push_back(PlaceInMenu(e.name));
  std::vector<size_t> order(entries.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const MenuPlace& pa = places[a];
    const MenuPlace& pb = places[b];
    if (pa.has_order != pb.has_order) return pa.has_order;
    if (pa.has_order && pa.order != pb.order) return pa.order < pb.order;
    return pa.shown < pb.shown;
  });
  return order;
}

}  // namespace standin
