// The command registry, the menu and running a command (see registry.h): the register_command,
// call_command, event_add and stop_all_threads entries of the table and Host's command methods.
#include "registry.h"

#include <algorithm>

#include "api_table.h"

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

// ---- the table's entries ----

namespace {

GmBool RegisterCommand(int32_t id, const char* name, int32_t info, const GmBitmap* icon,
                       const char* help, const GmCommandCallbacks* callbacks) {
  NEED_HOST(0);
  HostImpl& h = H();
  if (!h.OnMainThread()) return 0;
  NEED(callbacks, 0, "register_command " + std::to_string(id) + " without callbacks");
  if (h.faults.ConsumeRegistration()) return 0;
  CommandEntry e;
  e.id = id;
  e.name = name ? name : "";
  e.help = help ? help : "";
  e.info = info;
  e.has_icon = icon != nullptr;
  if (icon) {
    e.icon_w = icon->width;
    e.icon_h = icon->height;
    e.icon_path = icon->path;
  }
  e.callbacks = *callbacks;
  std::string why;
  if (!h.commands.Add(std::move(e), &why)) {
    h.CodingError("register_command: " + why);
    return 0;
  }
  return 1;
}

void EventAdd(int32_t) {
  NEED_HOST();
  ++H().activity.event_adds;
}
void StopAllThreads() {
  NEED_HOST();
  ++H().activity.stop_all_threads;
}
GmBool CallCommand(int32_t id, int32_t sub_id) {
  NEED_HOST(0);
  HostImpl& h = H();
  if (!h.OnMainThread()) return 0;
  auto it = h.host_commands.find(id);
  if (it == h.host_commands.end()) return 0;
  return it->second(sub_id);
}

}  // namespace

void FillRegistryApi(GmHostApi* t) {
  t->register_command = RegisterCommand;
  t->event_add = EventAdd;
  t->stop_all_threads = StopAllThreads;
  t->call_command = CallCommand;
}

// ---- Host: menu and commands ----

namespace {

bool EnabledOn(const CommandEntry& e, GmDoc* doc) {
  if (!e.callbacks.get_state) return true;
  return (e.callbacks.get_state(e.callbacks.self, doc) & kCmdEnabled) != 0;
}

// Runs command `id` on the active document with a fresh activity log. A menu pick leaves a greyed
// command alone; a call executes it whatever its state. An undo group the command left open is a
// coding error and is closed.
RunResult Execute(HostImpl& h, int32_t id, bool as_menu_pick) {
  RunResult r;
  r.id = id;
  h.activity = Activity{};
  const CommandEntry* e = h.commands.Find(id);
  if (e) {
    const GmCommandCallbacks cb = e->callbacks;
    GmDoc* doc = h.Active();
    r.found = true;
    r.enabled = EnabledOn(*e, doc);
    if (r.enabled || !as_menu_pick) r.result = cb.execute(cb.self, doc) != 0;
    for (auto& d : h.docs) {
      if (d->undo.depth > 0) {
        h.CodingError("command " + std::to_string(id) + " left an undo group open");
        d->undo.depth = 1;
        EndUndo(h, d.get());
      }
    }
  }
  for (const GmDialog* d : h.dialogs)
    if (d->view.open) h.activity.open_dialogs.push_back(d->view.plugin_id);
  r.activity = h.activity;
  return r;
}

}  // namespace

std::vector<MenuEntry> Host::Menu() {
  std::vector<MenuEntry> out;
  const std::vector<CommandEntry> entries = impl_->commands.Entries();
  for (const CommandEntry& e : entries) {
    MenuEntry m;
    m.id = e.id;
    m.name = e.name;
    m.help = e.help;
    m.has_icon = e.has_icon;
    m.icon_path = e.icon_path;
    m.enabled = EnabledOn(e, impl_->Active());
    m.shown = PlaceInMenu(e.name).shown;
    out.push_back(std::move(m));
  }
  const std::vector<size_t> shown_order = MenuOrder(entries);
  for (size_t place = 0; place < shown_order.size(); ++place)
    out[shown_order[place]].position = static_cast<int>(place) + 1;
  return out;
}

bool Host::HasCommand(int32_t id) const { return impl_->commands.Find(id) != nullptr; }
RunResult Host::Run(int32_t id) { return Execute(*impl_, id, true); }
RunResult Host::Call(int32_t id) { return Execute(*impl_, id, false); }

bool Host::RestoreLayout(int32_t id) {
  const CommandEntry* e = impl_->commands.Find(id);
  if (!e || !e->callbacks.restore_layout) return false;
  static int secret = 0;  // the host's layout data: opaque to the module
  return e->callbacks.restore_layout(e->callbacks.self, &secret) != 0;
}

std::vector<std::string> Host::RegisteredHostCommands() const {
  std::vector<std::string> out;
  for (const auto& c : impl_->host_commands) out.push_back(std::to_string(c.first));
  return out;
}

}  // namespace standin
