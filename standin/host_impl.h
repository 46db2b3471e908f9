// The stand-in host's state, shared by the table functions and the Host class: the members of
// each host concept, grouped as the concepts' file pairs are.
#ifndef GEMLITH_STANDIN_HOST_IMPL_H
#define GEMLITH_STANDIN_HOST_IMPL_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "container.h"
#include "description.h"
#include "dialog.h"
#include "document.h"
#include "faults.h"
#include "framing.h"
#include "input.h"
#include "link.h"
#include "loader.h"
#include "node.h"
#include "preferences.h"
#include "registry.h"
#include "resources.h"
#include "selection.h"
#include "standin/host.h"
#include "undo.h"

namespace standin {

class HostImpl {
 public:
  explicit HostImpl(HostOptions options);
  ~HostImpl();

  // A misuse by the module: recorded, never fatal.
  void CodingError(const std::string& what);
  bool OnMainThread() const { return std::this_thread::get_id() == main_thread; }

  NodePool nodes;  // first: every node is gone before it is
  HostOptions options;
  std::thread::id main_thread;
  GmHostApi table{};
  std::vector<std::string> coding_errors;
  Faults faults;

  // Documents (document.h).
  GmDoc* Active() { return docs[active].get(); }
  bool IsDocument(const GmDoc* doc) const {
    for (const auto& d : docs)
      if (d.get() == doc) return true;
    return false;
  }
  std::vector<std::unique_ptr<GmDoc>> docs;
  size_t active = 0;

  // Links (link.h) and the selection (selection.h).
  LinkRegistry registry;
  LinkIndex links;           // who links to whom: for TransferGoal
  SelectionIndex selection;  // the selected objects: for the active-object queries
  uint64_t last_stamp = 0;

  // The command registry (registry.h): the module's commands, the host's own reachable through
  // call_command, and what the current run saw.
  CommandRegistry commands;
  std::map<int32_t, std::function<bool(int32_t sub_id)>> host_commands;
  Activity activity;
  View view;  // what the framing commands (framing.h) showed last

  // Preferences (preferences.h) and scripted input (input.h).
  Preferences prefs;
  Input input;

  // Dialogs (dialog.h): those the module allocated (live) and the last view of each plugin id's
  // dialog; the text of the last confirmed rename, handed out as (pointer, size).
  std::vector<GmDialog*> dialogs;
  std::map<int32_t, DialogView> closed_dialog_views;
  GmDialog* DialogFor(int32_t plugin_id) const;
  std::string rename_text;

  // Loading (loader.h).
  ModuleFile module_file;
  MainFn module_main = nullptr;
  std::string module_path;
  GmCoreInfo core_info{};
  LoadResult loaded;

  // Resources (resources.h): the module's res folder and why the last load failed.
  std::string res_path;
  std::string last_resource_error;
  std::string last_bitmap_error;
};

// The host of Host::Current(), or null: kept beside it by Host, so that every table call reaches
// its host without a further call.
extern HostImpl* g_current_impl;
inline HostImpl* CurrentImpl() { return g_current_impl; }

}  // namespace standin

#endif  // GEMLITH_STANDIN_HOST_IMPL_H
