// The stand-in host's state, shared by the table functions and the Host class.
#ifndef GEMLITH_STANDIN_HOST_IMPL_H
#define GEMLITH_STANDIN_HOST_IMPL_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bitmap.h"
#include "container.h"
#include "description.h"
#include "dialog.h"
#include "document.h"
#include "input.h"
#include "link_registry.h"
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
  GmDoc* Active() { return docs[active].get(); }
  bool IsDocument(const GmDoc* doc) const {
    for (const auto& d : docs)
      if (d.get() == doc) return true;
    return false;
  }

  NodePool nodes;  // first: every node is gone before it is
  HostOptions options;
  std::thread::id main_thread;
  GmHostApi table{};

  std::vector<std::unique_ptr<GmDoc>> docs;
  size_t active = 0;
  LinkRegistry registry;
  LinkIndex links;           // who links to whom: for TransferGoal
  SelectionIndex selection;  // the selected objects: for the active-object queries
  uint64_t last_stamp = 0;

  std::vector<std::string> coding_errors;
  Activity activity;
  Faults faults;
  CommandRegistry commands;
  Preferences prefs;
  Input input;
  View view;

  // Dialogs the module allocated (live) and the last view of each plugin id's dialog.
  std::vector<GmDialog*> dialogs;
  std::map<int32_t, DialogView> closed_dialog_views;
  GmDialog* DialogFor(int32_t plugin_id) const;

  // Host commands reachable through call_command.
  std::map<int32_t, std::function<bool(int32_t sub_id)>> host_commands;

  // Loading.
  ModuleFile module_file;
  MainFn module_main = nullptr;
  std::string module_path;
  std::string res_path;  // the module's res folder
  GmCoreInfo core_info{};
  LoadResult loaded;

  // Text handed out as (pointer, size) that must outlive the call.
  std::string rename_text;
  std::string last_resource_error;
  std::string last_bitmap_error;
};

// The host of Host::Current(), or null: kept beside it by Host, so that every table call reaches
// its host without a further call.
extern HostImpl* g_current_impl;
inline HostImpl* CurrentImpl() { return g_current_impl; }

void FillApiTable(GmHostApi* table);

}  // namespace standin

#endif  // GEMLITH_STANDIN_HOST_IMPL_H
