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
#include <utility>
#include <vector>

#include "gemlith_api.h"

// Exact comparison of matrices (found by argument lookup: GmMatrix is a global C type).
bool operator==(const GmMatrix& a, const GmMatrix& b);
inline bool operator!=(const GmMatrix& a, const GmMatrix& b) { return !(a == b); }

namespace standin {

using Marker = uint64_t;

// ---- host constants (the values the module uses) ----
constexpr int32_t kOnull = 5140;
constexpr int32_t kOcube = 5159;
constexpr int32_t kOsphere = 5160;
constexpr int32_t kOinstance = 5126;
constexpr int32_t kOinstanceDerived = 1059126;  // IsInstanceOf(5126) holds, GetType() is not 5126
constexpr int32_t kObase = 5155;                 // filter only: every object is an instance of it
constexpr int32_t kTagType = 5616;               // the one tag type; tags are not objects

constexpr int32_t kInstanceLink = 1001;  // parameter of instance types: GM_VALUE_LINK
constexpr int32_t kInstanceMode = 1002;  // parameter of instance types: GM_VALUE_LONG

constexpr int32_t kBitActive = 2;
constexpr int32_t kCmdEnabled = 0x40000000;

constexpr int32_t kUndoChange = 40;
constexpr int32_t kUndoChangeSmall = 42;
constexpr int32_t kUndoNewObj = 44;
constexpr int32_t kUndoDeleteObj = 45;
constexpr int32_t kUndoBits = 48;
// "CHANGE", "CHANGE_SMALL", "NEWOBJ", "DELETEOBJ", "BITS"; "?" for any other type.
const char* UndoTypeName(int32_t type);

constexpr int32_t kActiveChildren = 1;        // GETACTIVEOBJECTFLAGS::CHILDREN
constexpr int32_t kActiveSelectionOrder = 2;  // GETACTIVEOBJECTFLAGS::SELECTIONORDER

constexpr int32_t kCopyNoHierarchy = 4;
constexpr int32_t kCopyRecursionCheck = 0x4000;

constexpr int32_t kQShift = 1;
constexpr int32_t kQCtrl = 2;
constexpr int32_t kQAlt = 4;

constexpr int32_t kDeviceKeyboard = 0x6B657962;  // 'keyb'
constexpr int32_t kDeviceMouse = 0x6D6F7573;     // 'mous'
constexpr int32_t kChannelInput = 0x69706361;    // 'ipca'
constexpr int32_t kChannelModifiers = 0x69706D6F;  // 'ipmo'
constexpr int32_t kChannelMouseLeft = 1;
constexpr int32_t kInputQualifier = 0x69707161;  // 'ipqa'

constexpr int32_t kFrameObjectsCommand = 12151;
constexpr int32_t kFrameElementsCommand = 13038;

constexpr int32_t kDialogAsync = 20;
constexpr int32_t kApiVersion = 21000;

// The module's entry point.
using MainFn = int32_t (*)(int32_t action, void* p1, void* p2, void* p3);

// ---- plain data views ----

// A value as tests see it: a copy, containers deep, links by marker.
struct ValueData {
  int32_t type = GM_VALUE_NONE;  // GM_VALUE_*
  int32_t i32 = 0;
  double real = 0;
  std::string str;
  Marker marker = 0;
  std::vector<std::pair<int32_t, ValueData>> sub;  // GM_VALUE_CONTAINER: elements in order

  bool operator==(const ValueData& o) const;
  bool operator!=(const ValueData& o) const { return !(*this == o); }
};
using ContainerData = std::vector<std::pair<int32_t, ValueData>>;
std::string ToString(const ContainerData& c);

GmMatrix IdentityMatrix();
GmMatrix TranslationMatrix(double x, double y, double z);

// ---- the whole scene, for "undo gives back exactly the scene" ----
struct TagSnapshot {
  Marker marker = 0;
  std::string name;
  bool operator==(const TagSnapshot& o) const { return marker == o.marker && name == o.name; }
};

struct ObjectSnapshot {
  Marker marker = 0;
  int32_t type = 0;
  std::string name;
  Marker parent = 0;      // 0 = top level
  int32_t index = 0;      // place among its siblings, 0-based
  int32_t bits = 0;
  int32_t selection_rank = -1;  // 0 = selected first, ...; -1 when not selected
  GmMatrix ml{};
  Marker link = 0;        // instance types: parameter 1001 (0 = empty)
  int32_t mode = 0;       // instance types: parameter 1002
  ContainerData data;     // the whole data container
  std::vector<TagSnapshot> tags;

  bool operator==(const ObjectSnapshot& o) const;
  bool operator!=(const ObjectSnapshot& o) const { return !(*this == o); }
};

struct SceneSnapshot {
  std::vector<ObjectSnapshot> objects;  // document order
  bool operator==(const SceneSnapshot& o) const { return objects == o.objects; }
  bool operator!=(const SceneSnapshot& o) const { return !(*this == o); }
};
// A readable account of what differs ("" when equal), for test failure messages.
std::string Diff(const SceneSnapshot& before, const SceneSnapshot& after);
std::string ToString(const SceneSnapshot& s);

// ---- activity log ----
struct UndoRecord {
  int32_t type = 0;
  Marker marker = 0;
  bool operator==(const UndoRecord& o) const { return type == o.type && marker == o.marker; }
};
struct FramingRecord {
  int32_t command = 0;                 // 12151 or 13038
  std::map<Marker, int32_t> modes;     // each selected instance object: its mode at that moment
};
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

// ---- fault injection ----
enum class Alloc { Array, Object, Link, Container, Clone, Description };

struct Faults {
  // The n-th (1-based) allocation of this kind from now on fails; FailNext = FailNth(k, 1).
  void FailNext(Alloc kind) { FailNth(kind, 1); }
  void FailNth(Alloc kind, int n);
  // The k-th (1-based) call of register_command on this host is refused (0: none).
  int refuse_registration = 0;
  bool resource_missing = false;      // resource_load yields null
  bool resource_corrupt = false;      // resource_load yields null, reason "malformed"
  std::vector<std::string> missing_icons;  // file names ("gx_swap.tif") bitmap_load does not find
  bool description_load_fails = false;
  bool description_no_cycle = false;  // parameter 1002 has no DESC_CYCLE element
  bool dialog_handle_missing = false;  // dialog_alloc yields null
  bool dialog_get_int32_fails = false;
  bool input_state_fails = false;
  int32_t api_version = kApiVersion;  // what api_version() answers
  bool p3_null = false;               // action 1 gets p3 = null

  // Used by the host: true when this allocation is to fail (and counts it).
  bool Consume(Alloc kind);
  bool ConsumeRegistration();

 private:
  std::map<Alloc, int> countdown_;
  int registrations_ = 0;
};

// ---- commands and loading ----
struct UndoStepSize {
  size_t entries = 0;
  size_t bytes = 0;
};

struct MenuEntry {
  int32_t id = 0;
  std::string name;  // as registered
  std::string help;
  bool enabled = false;  // GetState & kCmdEnabled on the active document
  bool has_icon = false;
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

struct LoadResult {
  bool ok = false;              // loaded and all three answers were the expected ones
  bool loaded = false;          // the file was opened and c4d_main found
  int32_t init_sys = 0;         // answer to action 1
  int32_t message = 0;          // answer to action 6 / message 1
  int32_t start = 0;            // answer to action 2
  int32_t registered = 0;       // entries the host accepted
  std::string error;            // a clear reason when !ok
};

// ---- dialogs (headless) ----
struct LayoutItem {
  enum Kind { kTitle, kGroupBegin, kGroupSpace, kGroupBorderSpace, kGroupEnd, kStaticText, kComboBox };
  Kind kind = kTitle;
  int32_t id = 0;               // gadget id (groups, static text, combo box)
  std::vector<int32_t> args;    // the remaining integer arguments in call order
  std::string text;             // title / group title / static text
};

struct GadgetState {
  int32_t value = 0;
  int32_t min = 0, max = 0, step = 0;
  bool tristate = false;
  bool value_set = false;
  std::vector<std::pair<int32_t, std::string>> children;  // combo entries: value → label, in order
  int32_t layout_changed = 0;
};

struct DialogView {
  bool open = false;
  int32_t plugin_id = 0;
  int32_t type = 0, xpos = 0, ypos = 0, default_w = 0, default_h = 0, sub_id = 0;
  int32_t open_calls = 0;        // dialog_open calls
  int32_t create_layout_calls = 0;
  int32_t init_values_calls = 0;
  int32_t restore_calls = 0;
  std::vector<LayoutItem> layout;
  std::map<int32_t, GadgetState> gadgets;
};

struct View {
  bool framed = false;
  double center[3] = {0, 0, 0};
  double radius = 0;
};

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

  // ---- documents ----
  GmDoc* ActiveDocument();
  GmDoc* NewDocument();               // a further document (not active)
  void SetActiveDocument(GmDoc* doc);

  // ---- module loading ----
  LoadResult LoadModuleFile(const std::string& path);
  LoadResult LoadLinkedModule(MainFn main, const std::string& module_path);
  // Action 3, then the destroy callback of every accepted command, then closes the file.
  void Unload();
  const LoadResult& Loaded() const;

  // ---- menu and commands ----
  // The registered entries in registration order, each with its place in the menu as shown.
  std::vector<MenuEntry> Menu();
  bool HasCommand(int32_t id) const;
  RunResult Run(int32_t id);   // a menu pick: a greyed entry is not executed
  RunResult Call(int32_t id);  // executes whatever its state
  bool RestoreLayout(int32_t id);  // calls the command's restore_layout

  // ---- undo ----
  bool Undo(GmDoc* doc = nullptr);  // null = the active document
  bool Redo(GmDoc* doc = nullptr);
  int32_t UndoSteps(GmDoc* doc = nullptr) const;
  int32_t RedoSteps(GmDoc* doc = nullptr) const;
  // What the newest undo step keeps: its entries and the bytes they hold (saved states, copies of
  // deleted subtrees); zeros when there is none. For measuring, not for behaviour.
  UndoStepSize NewestUndoStep(GmDoc* doc = nullptr) const;
  // Drops the redo steps and frees what only they kept, as recording a new undo step does.
  void DropRedo(GmDoc* doc = nullptr);

  // ---- scripted input ----
  void SetQualifiers(int32_t q);  // kQShift | kQCtrl | kQAlt
  int32_t Qualifiers() const;
  void QueueRenameConfirm(const std::string& text);
  void QueueRenameCancel();
  // Picks combo value `value` of gadget `gadget` (default: the first combo box) in the open dialog
  // opened with `plugin_id`: sets the gadget and sends the dialog's command callback with its id.
  bool DialogPick(int32_t plugin_id, int32_t value, int32_t gadget = -1);
  bool DialogClose(int32_t plugin_id);
  const DialogView* Dialog(int32_t plugin_id) const;  // null when no dialog was opened with it

  // ---- observation ----
  Activity& activity();                            // reset at each Run/Call
  const std::vector<std::string>& CodingErrors() const;  // host-wide, never reset by itself
  void ClearCodingErrors();
  Faults& faults();
  const View& GetView() const;
  std::vector<std::string> RegisteredHostCommands() const;

  // ---- preferences ----
  // The stored world plugin container (element id → Int32), or nothing.
  std::optional<std::map<int32_t, int32_t>> Prefs(int32_t plugin_id) const;
  void SetPrefs(int32_t plugin_id, const std::map<int32_t, int32_t>& values);
  // Why the preferences file could not be read or written ("" when all went well).
  const std::string& PrefsError() const;

  // ---- scene building (on the active document unless a document is given) ----
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

  // ---- scene inspection ----
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
