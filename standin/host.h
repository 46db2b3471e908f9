// The stand-in host: the application's side of the plugin interface, headless.
//
// One `standin::Host` per test (or per run of gemlith-host). It owns the documents, the command
// registry, the preferences, the dialogs and the activity log, and fills the GmHostApi table whose
// C functions reach it through `Host::Current()`. Everything here runs on the thread that
// constructed the host (the "main thread").
//
// Handles: nodes (objects and tags) are `GmNode*`, documents `GmDoc*`, exactly the handles the
// table passes to the module. A `GmNode*` can be handed to the binding as its object class
// (reinterpret_cast), since the binding's node classes are views of the same handle. Every node
// has a marker: a 64-bit identity, never 0, never reused, kept through undo and redo. Tests that
// keep an object across undo/redo keep its marker and look the node up again with `Find`.
//
// Misuse by the module (AddUndo outside a group, inserting a node twice or under itself, freeing a
// node that is still in a document, ...) changes nothing and is recorded as a coding error
// (`Host::CodingErrors()`); tests assert that the list stays empty.
#ifndef GEMLITH_STANDIN_HOST_H
#define GEMLITH_STANDIN_HOST_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The data types of each host concept, under the same names for every user of the host.
#include "container.h"
#include "dialog.h"
#include "faults.h"
#include "framing.h"
#include "gemlith_api.h"
#include "input.h"
#include "link.h"
#include "loader.h"
#include "node.h"
#include "registry.h"
#include "selection.h"
#include "snapshot.h"
#include "undo.h"

namespace standin {

struct HostOptions {
  std::string prefs_path;  // the preferences file; empty = kept in memory only
  std::string res_path;    // the module's res folder for a linked module ("" = none)
  // Activity::undo lists every accepted AddUndo, for tests to check. Benchmarks turn it off: the
  // list is the tests' instrument, and an application keeps no such copy of its undo entries.
  bool log_undo_entries = true;
};

class HostImpl;

class Host {
 public:
  explicit Host(HostOptions options = {});
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The host the C functions of the table work on (the one constructed last that still lives).
  static Host* Current();
  const GmHostApi* Api() const;

  // ---- documents (defined in document.cpp) ----
  GmDoc* ActiveDocument();
  GmDoc* NewDocument();               // a further document (not active)
  void SetActiveDocument(GmDoc* doc);

  // ---- module loading (loader.cpp) ----
  LoadResult LoadModuleFile(const std::string& path);
  LoadResult LoadLinkedModule(MainFn main, const std::string& module_path);
  // Action 3, then the destroy callback of every accepted command, then closes the file.
  void Unload();
  const LoadResult& Loaded() const;

  // ---- menu and commands (registry.cpp) ----
  // The registered entries in registration order, each with its place in the menu as shown.
  std::vector<MenuEntry> Menu();
  bool HasCommand(int32_t id) const;
  RunResult Run(int32_t id);   // a menu pick: a greyed entry is not executed
  RunResult Call(int32_t id);  // executes whatever its state
  bool RestoreLayout(int32_t id);  // calls the command's restore_layout

  // ---- undo (undo.cpp) ----
  bool Undo(GmDoc* doc = nullptr);  // null = the active document
  bool Redo(GmDoc* doc = nullptr);
  int32_t UndoSteps(GmDoc* doc = nullptr) const;
  int32_t RedoSteps(GmDoc* doc = nullptr) const;
  // What the newest undo step keeps: its entries and the bytes they hold (saved states, copies of
  // deleted subtrees); zeros when there is none. For measuring, not for behaviour.
  UndoStepSize NewestUndoStep(GmDoc* doc = nullptr) const;
  // Drops the redo steps and frees what only they kept, as recording a new undo step does.
  void DropRedo(GmDoc* doc = nullptr);

  // ---- scripted input (input.cpp; the dialog picks in dialog.cpp) ----
  void SetQualifiers(int32_t q);  // kQShift | kQCtrl | kQAlt
  int32_t Qualifiers() const;
  void QueueRenameConfirm(const std::string& text);
  void QueueRenameCancel();
  // Picks combo value `value` of gadget `gadget` (default: the first combo box) in the open dialog
  // opened with `plugin_id`: sets the gadget and sends the dialog's command callback with its id.
  bool DialogPick(int32_t plugin_id, int32_t value, int32_t gadget = -1);
  bool DialogClose(int32_t plugin_id);
  const DialogView* Dialog(int32_t plugin_id) const;  // null when no dialog was opened with it

  // ---- observation (host.cpp; GetView in framing.cpp, host commands in registry.cpp) ----
  Activity& activity();                            // reset at each Run/Call
  const std::vector<std::string>& CodingErrors() const;  // host-wide, never reset by itself
  void ClearCodingErrors();
  Faults& faults();
  const View& GetView() const;
  std::vector<std::string> RegisteredHostCommands() const;

  // ---- preferences (preferences.cpp) ----
  // The stored world plugin container (element id → Int32), or nothing.
  std::optional<std::map<int32_t, int32_t>> Prefs(int32_t plugin_id) const;
  void SetPrefs(int32_t plugin_id, const std::map<int32_t, int32_t>& values);
  // Why the preferences file could not be read or written ("" when all went well).
  const std::string& PrefsError() const;

  // ---- scene building (on the active document unless a document is given) ----
  // Each is defined beside what it touches: node.cpp, document.cpp, link.cpp, selection.cpp.
  // A new object as the last child of `parent`, or the last top-level object; with `after`, right
  // after that sibling. No undo entry.
  GmNode* AddObject(int32_t type, const std::string& name = "", GmNode* parent = nullptr,
                    GmNode* after = nullptr);
  GmNode* AddObjectTo(GmDoc* doc, int32_t type, const std::string& name = "");
  GmNode* AddTag(GmNode* object, const std::string& name = "");
  void SetLink(GmNode* instance, GmNode* target);  // parameter 1001; null = empty
  void SetLinkMarker(GmNode* instance, Marker target);  // e.g. the marker of a freed object
  void SetMode(GmNode* instance, int32_t mode);
  void SetMatrix(GmNode* object, const GmMatrix& m);
  void SetBits(GmNode* object, int32_t bits);  // like node_set_all_bits (stamps the selection)
  void SetName(GmNode* node, const std::string& name);
  // Sets element `id` of the node's data container (replaced in place, or appended).
  void SetDataElement(GmNode* node, int32_t id, const ValueData& value);
  void RemoveDataElement(GmNode* node, int32_t id);
  // Selects exactly these objects of their document, in this order (increasing stamps).
  void Select(const std::vector<GmNode*>& in_order, GmDoc* doc = nullptr);
  // Frees an object and its subtree (taken out of its document first). No undo entry.
  void Delete(GmNode* object);

  // ---- scene inspection (likewise; Capture and TreeText in snapshot.cpp) ----
  GmNode* Find(Marker m) const;  // any live node
  static Marker MarkerOf(const GmNode* node);
  GmNode* FindByName(const std::string& name, GmDoc* doc = nullptr) const;  // first in doc order
  std::vector<GmNode*> Walk(GmDoc* doc = nullptr) const;       // objects in document order
  std::vector<GmNode*> Children(GmNode* object) const;
  std::vector<GmNode*> Tags(GmNode* object) const;
  std::vector<GmNode*> Selection(GmDoc* doc = nullptr) const;  // selected, in selection order
  GmNode* Parent(GmNode* node) const;
  GmDoc* DocumentOf(GmNode* node) const;
  std::string Name(const GmNode* node) const;
  int32_t Type(const GmNode* node) const;
  int32_t Bits(const GmNode* node) const;
  bool IsSelected(const GmNode* node) const;
  Marker LinkMarker(const GmNode* instance) const;  // 0 = empty
  GmNode* LinkTarget(const GmNode* instance) const;  // the live node the link names, or null
  // The objects whose links TransferGoal from `node` would change, in document order.
  std::vector<GmNode*> LinkHolders(const GmNode* node);
  int32_t Mode(const GmNode* instance) const;
  GmMatrix Matrix(const GmNode* object) const;
  ContainerData Data(const GmNode* node) const;
  size_t LiveNodes() const;       // nodes the host knows alive (in documents, held, or loose)
  size_t DetachedNodes() const;   // live objects in no document and not held by undo

  SceneSnapshot Capture(GmDoc* doc = nullptr) const;

  // A one-line-per-object tree for people: names, types, links, modes, selection.
  std::string TreeText(GmDoc* doc = nullptr) const;

  HostImpl& impl() { return *impl_; }

 private:
  std::unique_ptr<HostImpl> impl_;
};

}  // namespace standin

#endif  // GEMLITH_STANDIN_HOST_H
