// The command registry: what register_command accepted, in registration order.
#ifndef GEMLITH_STANDIN_REGISTRY_H
#define GEMLITH_STANDIN_REGISTRY_H

#include <string>
#include <vector>

#include "standin/host.h"

namespace standin {

struct CommandEntry {
  int32_t id = 0;
  std::string name;
  std::string help;
  int32_t info = 0;
  bool has_icon = false;
  int32_t icon_w = 0, icon_h = 0;
  GmCommandCallbacks callbacks{};
};

class CommandRegistry {
 public:
  // False (and nothing kept) for a duplicate id or missing callbacks.
  bool Add(CommandEntry entry, std::string* why);
  const CommandEntry* Find(int32_t id) const;
  const std::vector<CommandEntry>& Entries() const { return entries_; }
  // Calls every destroy callback once, in registration order, and forgets the entries.
  void DestroyAll();

 private:
  std::vector<CommandEntry> entries_;
};

}  // namespace standin

#endif  // GEMLITH_STANDIN_REGISTRY_H
