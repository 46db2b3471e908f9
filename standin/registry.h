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

// How the application shows a registered name in the plugin menu. A name may start with "#$n"
// (n decimal digits): the menu is ordered by n, lower first, and the prefix is not shown. A shown
// name of "--" is a separator line.
struct MenuPlace {
  bool has_order = false;  // the name carries a "#$n" prefix
  long long order = 0;     // n
  std::string shown;       // the name without its prefix
};
MenuPlace PlaceInMenu(const std::string& name);

// The registry's indices in the order the menu shows the entries: prefixed entries by their number,
// then the entries without a prefix; ties by shown name, then by registration order.
std::vector<size_t> MenuOrder(const std::vector<CommandEntry>& entries);

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
