// The GmHostApi table: every function the module can call, each a thin check around the host
// concept that does the work. Misuse is recorded as a coding error and changes nothing.
#include <algorithm>
#include <cstring>

#include "framing.h"
#include "host_impl.h"

namespace standin {

namespace {

HostImpl& H() { return *CurrentImpl(); }

std::string Describe(const GmNode* n) {
  return "#" + std::to_string(n->marker) + " \"" + n->name + "\"";
}

// Guards: a host must exist, and handles must be the host's own.
#define NEED_HOST(fail) \
  if (!CurrentImpl()) return fail
#define NEED(cond, fail, what)     \
  if (!(cond)) {                   \
    H().CodingError(what);         \
    return fail;                   \
  }

// ---- module ----
int32_t ApiVersion() {
  NEED_HOST(0);
  return H().faults.api_version;
}

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
  }
  e.callbacks = *callbacks;
  std::string why;
  if (!h.commands.Add(std::move(e), &why)) {
    h.CodingError("register_command: " + why);
    return 0;
  }
  return 1;
}

const char* PluginResourcePath(size_t* len) {
  NEED_HOST(nullptr);
  if (len) *len = H().res_path.size();
  return H().res_path.c_str();
}

GmResource* ResourceLoad(const char* res_path) {
  NEED_HOST(nullptr);
  HostImpl& h = H();
  const std::string path = res_path ? res_path : "";
  if (h.faults.resource_missing) {
    h.last_resource_error = path + ": missing";
    return nullptr;
  }
  if (h.faults.resource_corrupt) {
    h.last_resource_error = path + ": malformed";
    return nullptr;
  }
  std::string why;
  auto res = LoadResource(path, &why);
  if (!res) h.last_resource_error = why;
  return res.release();
}

void ResourceFree(GmResource* res) { delete res; }

const char* ResourceString(const GmResource* res, int32_t id, size_t* len) {
  if (!res) return nullptr;
  auto it = res->strings.find(id);
  if (it == res->strings.end()) return nullptr;
  if (len) *len = it->second.size();
  return it->second.c_str();
}

GmBitmap* BitmapLoad(const char* path, double pixel_ratio) {
  NEED_HOST(nullptr);
  HostImpl& h = H();
  const std::string p = path ? path : "";
  const std::string file = p.substr(p.find_last_of("/\\") + 1);
  const auto& missing = h.faults.missing_icons;
  if (std::find(missing.begin(), missing.end(), file) != missing.end()) {
    h.last_bitmap_error = p + ": missing";
    return nullptr;
  }
  std::string why;
  auto bmp = LoadTiff(p, pixel_ratio, &why);
  if (!bmp) h.last_bitmap_error = why;
  return bmp.release();
}

void BitmapFree(GmBitmap* bmp) { delete bmp; }

// ---- documents ----
bool KnownDoc(GmDoc* doc, const char* fn) {
  if (doc && H().IsDocument(doc)) return true;
  H().CodingError(std::string(fn) + " with " + (doc ? "an unknown document" : "no document"));
  return false;
}

GmBool DocStartUndo(GmDoc* doc) {
  NEED_HOST(0);
  if (!KnownDoc(doc, "StartUndo")) return 0;
  return StartUndo(H(), doc);
}

GmBool DocEndUndo(GmDoc* doc) {
  NEED_HOST(0);
  if (!KnownDoc(doc, "EndUndo")) return 0;
  return EndUndo(H(), doc);
}

GmBool DocAddUndo(GmDoc* doc, int32_t type, GmNode* node) {
  NEED_HOST(0);
  if (!KnownDoc(doc, "AddUndo")) return 0;
  return AddUndo(H(), doc, type, node);
}

void DocGetActiveObjects(GmDoc* doc, GmArray* out, int32_t flags) {
  NEED_HOST();
  if (!KnownDoc(doc, "GetActiveObjects")) return;
  NEED(out, , "GetActiveObjects without an array");
  out->nodes = ActiveObjects(H(), doc, flags);
}

void DocGetActiveObjectsFilter(GmDoc* doc, GmArray* out, GmBool children, int32_t type,
                               int32_t instance_of) {
  NEED_HOST();
  if (!KnownDoc(doc, "GetActiveObjectsFilter")) return;
  NEED(out, , "GetActiveObjectsFilter without an array");
  out->nodes.clear();
  for (GmNode* n : ActiveObjects(H(), doc, children ? kActiveChildren : 0)) {
    if ((type == -1 || n->type == type) && IsInstanceOf(n, instance_of)) out->nodes.push_back(n);
  }
}

GmNode* DocGetActiveObject(GmDoc* doc) {
  NEED_HOST(nullptr);
  if (!KnownDoc(doc, "GetActiveObject")) return nullptr;
  return ActiveObject(H(), doc);
}

GmNode* DocGetFirstObject(GmDoc* doc) {
  NEED_HOST(nullptr);
  if (!KnownDoc(doc, "GetFirstObject")) return nullptr;
  return doc->first;
}

void DocInsertObject(GmDoc* doc, GmNode* op, GmNode* parent, GmNode* pred, GmBool) {
  NEED_HOST();
  if (!KnownDoc(doc, "InsertObject")) return;
  NEED(op && IsObject(op), , "InsertObject without an object");
  NEED(!IsLinked(op), , "InsertObject: " + Describe(op) + " is already in a tree");
  if (pred) {
    NEED(IsObject(pred) && IsLinked(pred) && DocOf(pred) == doc, ,
         "InsertObject: the predecessor " + Describe(pred) + " is not in the document");
    NEED(!InSubtree(pred, op), , "InsertObject: " + Describe(op) + " after an object below itself");
    if (parent && pred->up != parent) {
      H().CodingError("InsertObject: the predecessor " + Describe(pred) +
                      " is not a child of the given parent");
      return;
    }
  } else if (parent) {
    NEED(IsObject(parent) && DocOf(parent) == doc, ,
         "InsertObject: the parent " + Describe(parent) + " is not in the document");
    NEED(!InSubtree(parent, op), , "InsertObject: " + Describe(op) + " under itself");
  }
  LinkInto(op, doc, parent, pred);
  op->undo_held = false;
}

// ---- atoms / list nodes / objects ----
int32_t NodeGetType(const GmNode* n) { return n ? n->type : 0; }
GmBool NodeIsInstanceOf(const GmNode* n, int32_t type) { return IsInstanceOf(n, type); }
uint64_t NodeMarker(const GmNode* n) { return n ? n->marker : 0; }

const uint64_t* NodeMarkerMemory(const GmNode* n) {
  static const uint64_t kNone = 0;
  NEED(n, &kNone, "GetMarker without a node");
  return &n->marker;
}

GmNode* NodeGetClone(GmNode* n, int32_t flags) {
  NEED_HOST(nullptr);
  NEED(n, nullptr, "GetClone without a node");
  if (H().faults.Consume(Alloc::Clone)) return nullptr;
  return CloneNode(H(), n, (flags & kCopyNoHierarchy) == 0);
}

GmBool NodeGetParameter(GmNode* n, int32_t id, GmValue* out, int32_t) {
  if (!n || !out) return 0;
  return GetParameter(n, id, out);
}

GmBool NodeSetParameter(GmNode* n, int32_t id, const GmValue* value, int32_t) {
  NEED_HOST(0);
  if (!n || !value) return 0;
  return SetParameter(H(), n, id, *value);
}

GmBool NodeMessage(GmNode*, int32_t, void*) { return 1; }

GmNode* TagNeighbour(GmNode* tag, int delta) {
  if (!tag->owner) return nullptr;
  auto& tags = tag->owner->tags;
  auto it = std::find(tags.begin(), tags.end(), tag);
  if (it == tags.end()) return nullptr;
  const ptrdiff_t i = (it - tags.begin()) + delta;
  if (i < 0 || i >= static_cast<ptrdiff_t>(tags.size())) return nullptr;
  return tags[static_cast<size_t>(i)];
}

GmNode* NodeGetNext(GmNode* n) {
  if (!n) return nullptr;
  return IsTag(n) ? TagNeighbour(n, 1) : n->next;
}
GmNode* NodeGetPred(GmNode* n) {
  if (!n) return nullptr;
  return IsTag(n) ? TagNeighbour(n, -1) : n->pred;
}
GmNode* NodeGetUp(GmNode* n) { return n ? n->up : nullptr; }
GmNode* NodeGetDown(GmNode* n) { return n ? n->down : nullptr; }

void NodeRemove(GmNode* n) {
  if (!n) return;
  if (IsTag(n)) {
    if (n->owner) {
      auto& tags = n->owner->tags;
      tags.erase(std::remove(tags.begin(), tags.end(), n), tags.end());
      n->owner = nullptr;
    }
    return;
  }
  Unlink(n);
}

void NodeInsertUnderLast(GmNode* n, GmNode* parent) {
  NEED_HOST();
  NEED(n && IsObject(n), , "InsertUnderLast without an object");
  NEED(parent && IsObject(parent), , "InsertUnderLast of " + Describe(n) + " without a parent");
  NEED(!IsLinked(n), , "InsertUnderLast: " + Describe(n) + " is already in a tree");
  NEED(!InSubtree(parent, n), , "InsertUnderLast: " + Describe(n) + " under itself");
  LinkUnderLast(n, parent);
  n->undo_held = false;
}

GmDoc* NodeGetDocument(GmNode* n) { return DocOf(n); }

const char* NodeGetName(const GmNode* n, size_t* len) {
  if (!n) {
    if (len) *len = 0;
    return "";
  }
  if (len) *len = n->name.size();
  return n->name.c_str();
}

void NodeSetName(GmNode* n, const char* name, size_t len) {
  if (!n) return;
  n->name.assign(name ? name : "", name ? len : 0);
}

int32_t NodeGetAllBits(const GmNode* n) { return n ? n->bits : 0; }

void NodeSetAllBits(GmNode* n, int32_t bits) {
  NEED_HOST();
  if (n) SetAllBits(H(), n, bits);
}

GmContainer* NodeGetDataInstance(GmNode* n) { return n ? DataOf(n) : nullptr; }

GmBool NodeTransferGoal(GmNode* source, GmNode* target, GmBool undo_links) {
  NEED_HOST(0);
  NEED(source && target, 0, "TransferGoal without a source or a target");
  // The application leaves undo links to itself: a caller records its own entries before.
  if (undo_links) H().CodingError("TransferGoal with undo links on: that argument must be false");
  if (!DocOf(source)) return 0;
  TransferLinks(H(), source, target);
  return 1;
}

GmNode* ObjectAlloc(int32_t type) {
  NEED_HOST(nullptr);
  if (!IsObjectType(type) || type == kObase) return nullptr;
  if (H().faults.Consume(Alloc::Object)) return nullptr;
  return NewNode(H(), type);
}

void ObjectFree(GmNode* n) {
  NEED_HOST();
  if (!n) return;
  NEED(!DocOf(n), , "Free of " + Describe(n) + ", which is still in a document");
  NoteFree(H(), n);
  FreeNode(H(), n);
}

const GmMatrix* ObjectGetMl(const GmNode* n) {
  static const GmMatrix kIdentity{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  NEED(n, &kIdentity, "GetMl without a node");
  return &n->ml;
}

void ObjectSetMl(GmNode* n, const GmMatrix* m) {
  if (n && m) n->ml = *m;
}

// ---- atom arrays ----
GmArray* ArrayAlloc() {
  NEED_HOST(nullptr);
  if (H().faults.Consume(Alloc::Array)) return nullptr;
  return new GmArray;
}
void ArrayFree(GmArray* a) { delete a; }
int32_t ArrayCount(const GmArray* a) { return a ? static_cast<int32_t>(a->nodes.size()) : 0; }
GmNode* ArrayIndex(const GmArray* a, int32_t i) {
  if (!a || i < 0 || i >= static_cast<int32_t>(a->nodes.size())) return nullptr;
  return a->nodes[static_cast<size_t>(i)];
}
GmBool ArrayAppend(GmArray* a, GmNode* n) {
  if (!a || !n) return 0;
  a->nodes.push_back(n);
  return 1;
}
GmBool ArrayRemove(GmArray* a, GmNode* n) {
  if (!a) return 0;
  auto it = std::find(a->nodes.begin(), a->nodes.end(), n);
  if (it == a->nodes.end()) return 0;
  a->nodes.erase(it);
  return 1;
}
void ArrayFilterObject(GmArray* a, int32_t type, int32_t instance_of) {
  if (!a) return;
  auto keep = [&](const GmNode* n) {
    return IsObject(n) && (type == -1 || n->type == type) && IsInstanceOf(n, instance_of);
  };
  a->nodes.erase(std::remove_if(a->nodes.begin(), a->nodes.end(),
                                [&](const GmNode* n) { return !keep(n); }),
                 a->nodes.end());
}

// ---- containers ----
GmContainer* ContainerAlloc() {
  NEED_HOST(nullptr);
  if (H().faults.Consume(Alloc::Container)) return nullptr;
  return new GmContainer;
}
void ContainerFree(GmContainer* bc) { delete bc; }
// A container of a node's data tells the host when a link may have come in (see NoteData).
void NoteWrite(GmContainer* bc) {
  if (bc->owner)
    if (HostImpl* h = CurrentImpl()) NoteData(*h, bc->owner, *bc);
}

void ContainerCopy(GmContainer* dst, const GmContainer* src) {
  if (!dst || !src) return;
  AssignContainer(*dst, *src);
  NoteWrite(dst);
}
GmBool ContainerGet(const GmContainer* bc, int32_t id, GmValue* out) {
  if (!bc || !out) return 0;
  const Value* v = FindElement(*bc, id);
  if (!v) return 0;
  ToGm(*v, out);
  return 1;
}
void ContainerSet(GmContainer* bc, int32_t id, const GmValue* value) {
  if (!bc || !value) return;
  SetElement(*bc, id, FromGm(*value));
  NoteWrite(bc);
}
GmBool ContainerRemove(GmContainer* bc, int32_t id) { return bc ? RemoveElement(*bc, id) : 0; }
int32_t ContainerCount(const GmContainer* bc) {
  return bc ? static_cast<int32_t>(bc->elements.size()) : 0;
}
GmBool ContainerGetIndex(const GmContainer* bc, int32_t index, int32_t* id, GmValue* out) {
  if (!bc || index < 0 || index >= static_cast<int32_t>(bc->elements.size())) return 0;
  const auto& e = bc->elements[static_cast<size_t>(index)];
  if (id) *id = e.first;
  if (out) ToGm(e.second, out);
  return 1;
}
GmContainer* ContainerGetContainerInstance(GmContainer* bc, int32_t id) {
  if (!bc) return nullptr;
  Value* v = FindElement(*bc, id);
  return v && v->type == GM_VALUE_CONTAINER ? v->sub.get() : nullptr;
}

// ---- links ----
GmLink* LinkAlloc() {
  NEED_HOST(nullptr);
  if (H().faults.Consume(Alloc::Link)) return nullptr;
  return new GmLink;
}
void LinkFree(GmLink* l) { delete l; }
void LinkSet(GmLink* l, GmNode* n) {
  if (l) l->marker = n ? n->marker : 0;
}
uint64_t LinkMarker(const GmLink* l) { return l ? l->marker : 0; }
GmNode* LinkResolve(uint64_t marker, GmDoc* doc, int32_t instance_of) {
  NEED_HOST(nullptr);
  return Resolve(H().registry, marker, doc, instance_of);
}

// ---- application ----
GmBool GetInputState(int32_t device, int32_t channel, GmContainer* out) {
  NEED_HOST(0);
  if (!out || H().faults.input_state_fails) return 0;
  return H().input.State(device, channel, out);
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
void MessageDialog(const char* text, size_t len) {
  NEED_HOST();
  H().activity.messages.emplace_back(text ? text : "", text ? len : 0);
}
GmBool RenameDialog(const char*, size_t, const char** out, size_t* out_len) {
  NEED_HOST(0);
  HostImpl& h = H();
  ++h.activity.rename_dialogs;
  auto answer = h.input.NextRename();
  if (!answer) return 0;
  h.rename_text = *answer;
  if (out) *out = h.rename_text.c_str();
  if (out_len) *out_len = h.rename_text.size();
  return 1;
}
GmContainer* GetWorldPluginData(int32_t plugin_id) {
  NEED_HOST(nullptr);
  return H().prefs.Get(plugin_id);
}
GmBool SetWorldPluginData(int32_t plugin_id, const GmContainer* bc, GmBool add) {
  NEED_HOST(0);
  if (!bc) return 0;
  return H().prefs.Set(plugin_id, *bc, add != 0);
}

// ---- dialogs ----
GmDialog* DialogAlloc(const GmDialogCallbacks* callbacks) {
  NEED_HOST(nullptr);
  HostImpl& h = H();
  if (h.faults.dialog_handle_missing) return nullptr;
  auto* d = new GmDialog;
  if (callbacks) d->callbacks = *callbacks;
  h.dialogs.push_back(d);
  return d;
}
void DialogFree(GmDialog* d) {
  if (!d) return;
  if (HostImpl* h = CurrentImpl()) {
    h->dialogs.erase(std::remove(h->dialogs.begin(), h->dialogs.end(), d), h->dialogs.end());
    if (d->opened_once) {
      DialogView v = d->view;
      v.open = false;
      h->closed_dialog_views[v.plugin_id] = v;
    }
  }
  delete d;
}
GmBool DialogOpen(GmDialog* d, int32_t type, int32_t plugin_id, int32_t x, int32_t y, int32_t w,
                  int32_t hgt, int32_t sub_id) {
  NEED_HOST(0);
  if (!d) return 0;
  return OpenDialog(H(), d, type, plugin_id, x, y, w, hgt, sub_id);
}
GmBool DialogRestoreLayout(GmDialog* d, int32_t plugin_id, int32_t sub_id, void*) {
  NEED_HOST(0);
  if (!d) return 0;
  ++d->view.restore_calls;
  return OpenDialog(H(), d, kDialogAsync, plugin_id, -1, -1, 0, 0, sub_id);
}
GmBool DialogSetTitle(GmDialog* d, const char* title, size_t len) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kTitle;
  it.text.assign(title ? title : "", title ? len : 0);
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupBegin(GmDialog* d, int32_t id, int32_t flags, int32_t cols, int32_t rows,
                        const char* title, size_t title_len, int32_t group_flags, int32_t init_w,
                        int32_t init_h) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupBegin;
  it.id = id;
  it.args = {flags, cols, rows, group_flags, init_w, init_h};
  it.text.assign(title ? title : "", title ? title_len : 0);
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupSpace(GmDialog* d, int32_t x, int32_t y) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupSpace;
  it.args = {x, y};
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupBorderSpace(GmDialog* d, int32_t l, int32_t t, int32_t r, int32_t b) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupBorderSpace;
  it.args = {l, t, r, b};
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupEnd(GmDialog* d) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupEnd;
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogAddStaticText(GmDialog* d, int32_t id, int32_t flags, int32_t init_w, int32_t init_h,
                           const char* text, size_t len, int32_t border_style) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kStaticText;
  it.id = id;
  it.args = {flags, init_w, init_h, border_style};
  it.text.assign(text ? text : "", text ? len : 0);
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogAddComboBox(GmDialog* d, int32_t id, int32_t flags, int32_t init_w, int32_t init_h,
                         GmBool special_align, GmBool allow_filtering) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kComboBox;
  it.id = id;
  it.args = {flags, init_w, init_h, special_align ? 1 : 0, allow_filtering ? 1 : 0};
  AddLayoutItem(d, std::move(it));
  Gadget(d, id);
  return 1;
}
GmBool DialogFreeChildren(GmDialog* d, int32_t id) {
  if (!d) return 0;
  Gadget(d, id).children.clear();
  return 1;
}
GmBool DialogAddChildren(GmDialog* d, int32_t id, const GmContainer* entries) {
  if (!d || !entries) return 0;
  GadgetState& g = Gadget(d, id);
  for (const auto& [value, v] : entries->elements)
    g.children.emplace_back(value, v.type == GM_VALUE_STRING ? v.str : std::string());
  return 1;
}
GmBool DialogSetInt32(GmDialog* d, int32_t id, int32_t value, int32_t min, int32_t max,
                      int32_t step, GmBool tristate) {
  if (!d) return 0;
  GadgetState& g = Gadget(d, id);
  g.value = value;
  g.min = min;
  g.max = max;
  g.step = step;
  g.tristate = tristate != 0;
  g.value_set = true;
  return 1;
}
GmBool DialogGetInt32(GmDialog* d, int32_t id, int32_t* value) {
  NEED_HOST(0);
  if (!d || !value || H().faults.dialog_get_int32_fails) return 0;
  auto it = d->view.gadgets.find(id);
  if (it == d->view.gadgets.end()) return 0;
  *value = it->second.value;
  return 1;
}
GmBool DialogLayoutChanged(GmDialog* d, int32_t id) {
  if (!d) return 0;
  ++Gadget(d, id).layout_changed;
  return 1;
}

// ---- descriptions ----
GmDescription* DescriptionAlloc() {
  NEED_HOST(nullptr);
  if (H().faults.Consume(Alloc::Description)) return nullptr;
  return new GmDescription;
}
void DescriptionFree(GmDescription* d) { delete d; }
GmBool DescriptionLoad(GmDescription* d, int32_t type) {
  NEED_HOST(0);
  if (!d || H().faults.description_load_fails) return 0;
  return LoadDescription(d, type, !H().faults.description_no_cycle);
}
const GmContainer* DescriptionGetParameter(GmDescription* d, int32_t id, int32_t dtype, int32_t) {
  if (!d) return nullptr;
  auto it = d->parameters.find(id);
  if (it == d->parameters.end()) return nullptr;
  if (dtype != 0 && d->dtypes[id] != dtype) return nullptr;
  return it->second.get();
}

#undef NEED
#undef NEED_HOST

}  // namespace

void FillApiTable(GmHostApi* t) {
  *t = GmHostApi{};
  t->table_version = GM_API_TABLE_VERSION;
  t->table_size = static_cast<int32_t>(sizeof(GmHostApi));
  t->api_version = ApiVersion;
  t->register_command = RegisterCommand;
  t->plugin_resource_path = PluginResourcePath;
  t->resource_load = ResourceLoad;
  t->resource_free = ResourceFree;
  t->resource_string = ResourceString;
  t->bitmap_load = BitmapLoad;
  t->bitmap_free = BitmapFree;
  t->doc_start_undo = DocStartUndo;
  t->doc_end_undo = DocEndUndo;
  t->doc_add_undo = DocAddUndo;
  t->doc_get_active_objects = DocGetActiveObjects;
  t->doc_get_active_objects_filter = DocGetActiveObjectsFilter;
  t->doc_get_active_object = DocGetActiveObject;
  t->doc_get_first_object = DocGetFirstObject;
  t->doc_insert_object = DocInsertObject;
  t->node_get_type = NodeGetType;
  t->node_is_instance_of = NodeIsInstanceOf;
  t->node_marker = NodeMarker;
  t->node_marker_memory = NodeMarkerMemory;
  t->node_get_clone = NodeGetClone;
  t->node_get_parameter = NodeGetParameter;
  t->node_set_parameter = NodeSetParameter;
  t->node_message = NodeMessage;
  t->node_get_next = NodeGetNext;
  t->node_get_pred = NodeGetPred;
  t->node_get_up = NodeGetUp;
  t->node_get_down = NodeGetDown;
  t->node_remove = NodeRemove;
  t->node_insert_under_last = NodeInsertUnderLast;
  t->node_get_document = NodeGetDocument;
  t->node_get_name = NodeGetName;
  t->node_set_name = NodeSetName;
  t->node_get_all_bits = NodeGetAllBits;
  t->node_set_all_bits = NodeSetAllBits;
  t->node_get_data_instance = NodeGetDataInstance;
  t->node_transfer_goal = NodeTransferGoal;
  t->object_alloc = ObjectAlloc;
  t->object_free = ObjectFree;
  t->object_get_ml = ObjectGetMl;
  t->object_set_ml = ObjectSetMl;
  t->array_alloc = ArrayAlloc;
  t->array_free = ArrayFree;
  t->array_count = ArrayCount;
  t->array_index = ArrayIndex;
  t->array_append = ArrayAppend;
  t->array_remove = ArrayRemove;
  t->array_filter_object = ArrayFilterObject;
  t->container_alloc = ContainerAlloc;
  t->container_free = ContainerFree;
  t->container_copy = ContainerCopy;
  t->container_get = ContainerGet;
  t->container_set = ContainerSet;
  t->container_remove = ContainerRemove;
  t->container_count = ContainerCount;
  t->container_get_index = ContainerGetIndex;
  t->container_get_container_instance = ContainerGetContainerInstance;
  t->link_alloc = LinkAlloc;
  t->link_free = LinkFree;
  t->link_set = LinkSet;
  t->link_marker = LinkMarker;
  t->link_resolve = LinkResolve;
  t->get_input_state = GetInputState;
  t->event_add = EventAdd;
  t->stop_all_threads = StopAllThreads;
  t->call_command = CallCommand;
  t->message_dialog = MessageDialog;
  t->rename_dialog = RenameDialog;
  t->get_world_plugin_data = GetWorldPluginData;
  t->set_world_plugin_data = SetWorldPluginData;
  t->dialog_alloc = DialogAlloc;
  t->dialog_free = DialogFree;
  t->dialog_open = DialogOpen;
  t->dialog_restore_layout = DialogRestoreLayout;
  t->dialog_set_title = DialogSetTitle;
  t->dialog_group_begin = DialogGroupBegin;
  t->dialog_group_space = DialogGroupSpace;
  t->dialog_group_border_space = DialogGroupBorderSpace;
  t->dialog_group_end = DialogGroupEnd;
  t->dialog_add_static_text = DialogAddStaticText;
  t->dialog_add_combo_box = DialogAddComboBox;
  t->dialog_free_children = DialogFreeChildren;
  t->dialog_add_children = DialogAddChildren;
  t->dialog_set_int32 = DialogSetInt32;
  t->dialog_get_int32 = DialogGetInt32;
  t->dialog_layout_changed = DialogLayoutChanged;
  t->description_alloc = DescriptionAlloc;
  t->description_free = DescriptionFree;
  t->description_load = DescriptionLoad;
  t->description_get_parameter = DescriptionGetParameter;
}

}  // namespace standin
