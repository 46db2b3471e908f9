// The command registry: what register_command accepted, in registration order; the menu that
// shows it, and running a command as a menu pick does, with the activity the host saw. Fills the
// register_command, call_command, event_add and stop_all_threads entries of the table.
#ifndef GEMLITH_STANDIN_REGISTRY_H
#define GEMLITH_STANDIN_REGISTRY_H

#include <cstdint>
#include <string>
#include <vector>

#include "framing.h"
#include "gemlith_api.h"
#include "undo.h"

namespace standin {

constexpr int32_t kCmdEnabled = 0x40000000;

// What the host saw during a run.
struct Activity {
  int32_t event_adds = 0;
  std::vector<std::string> messages;   // message_dialog texts
  int32_t undo_groups = 0;             // outermost StartUndo calls
  std::vector<UndoRecord> undo;        // AddUndo calls that were accepted, in order
  int32_t stop_all_threads = 0;
  std::vector<FramingRecord> framing;
  int32_t rename_dialogs = 0;
  std::vector<int32_t> open_dialogs;   // plugin ids of the dialogs open after the run
  std::vector<std::string> coding_errors;  // the coding errors seen during the run
};

struct MenuEntry {
  int32_t id = 0;
  std::string name;  // as registered
  std::string help;
  bool enabled = false;  // GetState & kCmdEnabled on the active document
  bool has_icon = false;
  std::string icon_path;  // the icon's file, as the module named it
  int position = 0;   // where the application's menu shows it: 1 = first
  std::string shown;  // the name as the menu shows it ("#$n" order prefix taken off; "--": a separator)
};

struct RunResult {
  int32_t id = 0;
  bool found = false;    // a command with this id is registered
  bool enabled = false;  // its state at the moment of the pick
  bool result = false;   // what Execute returned (false when not executed)
  Activity activity;     // what the host saw during the run
};

struct CommandEntry {
  int32_t id = 0;
  std::string name;
  std::string help;
  int32_t info = 0;
  bool has_icon = false;
  int32_t icon_w = 0, icon_h = 0;
  std::string icon_path;
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

// register_command, call_command, event_add and stop_all_threads.
void FillRegistryApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_REGISTRY_H
