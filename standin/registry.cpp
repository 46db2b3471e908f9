#include "registry.h"

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

}  // namespace standin
