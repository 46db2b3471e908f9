// The scene's entries (see entries.h): the module's atoms, list nodes, objects and documents are
// the host's handles, passed through unchanged; containers, links and values are converted between
// the application's layouts and the host's.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lib_description.h"
#include "entries.h"
#include "kernel.h"

namespace adapter {
namespace {

GmNode* N(const void* p) { return static_cast<GmNode*>(const_cast<void*>(p)); }
GmDoc* D(const void* p) { return static_cast<GmDoc*>(const_cast<void*>(p)); }
GmArray* A(const void* p) { return static_cast<GmArray*>(const_cast<void*>(p)); }
template <typename T>
T* As(const void* p) {
  return static_cast<T*>(const_cast<void*>(p));
}
template <typename E>
int32_t I(E e) {
  return static_cast<int32_t>(e);
}

// ---- links: a BaseLink is the marker of what it links to (a dead link keeps it) ----

struct LinkBox {
  uint64_t marker;
};

// ---- values ----

bool HostOwned(const BaseContainer* bc) { return *reinterpret_cast<void* const*>(bc) == bc; }

}  // namespace

GmContainer* Handle(const BaseContainer* bc) {
  auto* blob = reinterpret_cast<Blob*>(const_cast<BaseContainer*>(bc));
  if (!blob->handle) blob->handle = Api()->container_alloc();  // after FlushAll
  return blob->handle;
}

namespace {

// The host's value of a module's GeData; strings stay valid until the next conversion.
GmValue ToValue(const GeData& data) {
  static std::string text;
  const GeDataView& v = View(&data);
  GmValue out{};
  switch (v.type) {
    case DA_NIL: break;
    case DA_LONG: out.type = GM_VALUE_LONG; out.i32 = v.i32; break;
    case DA_REAL: out.type = GM_VALUE_REAL; out.real = v.real; break;
    case DA_STRING:
      text = Utf8(static_cast<const maxon::StringInterface*>(v.ptr));
      out.type = GM_VALUE_STRING;
      out.str = text.data();
      out.str_len = text.size();
      break;
    case DA_ALIASLINK:
      out.type = GM_VALUE_LINK;
      out.marker = v.ptr ? static_cast<LinkBox*>(v.ptr)->marker : 0;
      break;
    case DA_CONTAINER:
      out.type = GM_VALUE_CONTAINER;
      out.sub = Handle(static_cast<BaseContainer*>(v.ptr));
      break;
    default: Unsupported("a value of type " + std::to_string(v.type));
  }
  return out;
}

void GdFree(GeData* d) {
  GeDataView& v = View(d);
  if (v.type == DA_STRING) Release(static_cast<maxon::StringInterface*>(v.ptr));
  if (v.type == DA_ALIASLINK) delete static_cast<LinkBox*>(v.ptr);
  if (v.type == DA_CONTAINER) {
    auto* blob = static_cast<Blob*>(v.ptr);
    if (blob->handle) Api()->container_free(blob->handle);
    delete blob;
  }
  v.type = DA_NIL;
  v.i64 = 0;
}

}  // namespace

Int32 BcGetId(const BaseContainer* bc) {
  return HostOwned(bc) ? 0 : static_cast<Int32>(reinterpret_cast<const Blob*>(bc)->id);
}
Int32 BcGetInt32(const BaseContainer* bc, Int32 id, Int32 preset) {
  GmValue v{};
  return Api()->container_get(Handle(bc), id, &v) && v.type == GM_VALUE_LONG ? v.i32 : preset;
}

void FromValue(const GmValue& value, GeData* data) {
  GdFree(data);
  GeDataView& v = View(data);
  switch (value.type) {
    case GM_VALUE_NONE: break;
    case GM_VALUE_LONG: v.type = DA_LONG; v.i32 = value.i32; break;
    case GM_VALUE_REAL: v.type = DA_REAL; v.real = value.real; break;
    case GM_VALUE_STRING:
      v.type = DA_STRING;
      v.ptr = NewString(value.str, value.str_len);
      break;
    case GM_VALUE_LINK:
      v.type = DA_ALIASLINK;
      v.ptr = new LinkBox{value.marker};
      break;
    case GM_VALUE_CONTAINER: {
      auto* blob = new Blob{Api()->container_alloc(), 0};
      if (value.sub) Api()->container_copy(blob->handle, value.sub);
      v.type = DA_CONTAINER;
      v.ptr = blob;
      break;
    }
    default: Unsupported("a host value of type " + std::to_string(value.type));
  }
}

namespace {


// ---- C4D_BaseContainer ----

void BcSDKInit(BaseContainer* bc, Int32 id, const BaseContainer* src) {
  auto* blob = reinterpret_cast<Blob*>(bc);
  blob->handle = Api()->container_alloc();
  blob->id = id;
  if (src) Api()->container_copy(blob->handle, Handle(src));
}
void BcFlushAll(BaseContainer* bc) {
  if (HostOwned(bc)) {
    GmContainer* h = Handle(bc);
    int32_t id = 0;
    GmValue ignored{};
    while (Api()->container_get_index(h, 0, &id, &ignored)) Api()->container_remove(h, id);
    return;
  }
  auto* blob = reinterpret_cast<Blob*>(bc);
  if (blob->handle) Api()->container_free(blob->handle);
  blob->handle = nullptr;
}
void BcSetId(BaseContainer* bc, Int32 id) {
  if (!HostOwned(bc)) reinterpret_cast<Blob*>(bc)->id = id;
}
void BcSetInt32(BaseContainer* bc, Int32 id, Int32 value) {
  GmValue v{};
  v.type = GM_VALUE_LONG;
  v.i32 = value;
  Api()->container_set(Handle(bc), id, &v);
}
void BcSetLink(BaseContainer* bc, Int32 id, C4DAtomGoal* link) {
  GmValue v{};
  v.type = GM_VALUE_LINK;
  v.marker = link ? Api()->node_marker(N(link)) : 0;
  Api()->container_set(Handle(bc), id, &v);
}
void BcSetContainer(BaseContainer* bc, Int32 id, const BaseContainer& sub) {
  GmValue v{};
  v.type = GM_VALUE_CONTAINER;
  v.sub = Handle(&sub);
  Api()->container_set(Handle(bc), id, &v);
}
BaseList2D* BcGetLink(const BaseContainer* bc, Int32 id, const BaseDocument* doc, Int32 instanceof) {
  GmValue v{};
  if (!Api()->container_get(Handle(bc), id, &v) || v.type != GM_VALUE_LINK || !v.marker) return nullptr;
  return As<BaseList2D>(Api()->link_resolve(v.marker, D(doc), instanceof));
}
BaseContainer* BcGetContainerInstance(BaseContainer* bc, Int32 id) {
  return As<BaseContainer>(Api()->container_get_container_instance(Handle(bc), id));
}
const BaseContainer* BcGetContainerInstanceConst(const BaseContainer* bc, Int32 id) {
  return As<BaseContainer>(Api()->container_get_container_instance(Handle(bc), id));
}
Int32 BcFindIndex(const BaseContainer* bc, Int32 id, GeData** data) {
  static GeData* found = nullptr;  // the element's value, until the next call
  GmContainer* h = Handle(bc);
  const int32_t count = Api()->container_count(h);
  for (int32_t i = 0; i < count; ++i) {
    int32_t at = 0;
    GmValue v{};
    if (!Api()->container_get_index(h, i, &at, &v) || at != id) continue;
    if (data) {
      if (!found) found = static_cast<GeData*>(calloc(1, sizeof(GeData)));
      FromValue(v, found);
      *data = found;
    }
    return i;
  }
  if (data) *data = nullptr;
  return NOTOK;
}
Int32 BcGetIndexId(const BaseContainer* bc, Int32 index) {
  int32_t id = NOTOK;
  if (!Api()->container_get_index(Handle(bc), index, &id, nullptr)) return NOTOK;
  return id;
}
// The element's value as a GeData of the adapter's, valid until the next call (the module reads
// its type right away).
const GeData* BcGetDataPointer(const BaseContainer* bc, Int32 id) {
  static GeData* value = nullptr;
  GmValue v{};
  if (!Api()->container_get(Handle(bc), id, &v)) return nullptr;
  if (!value) value = static_cast<GeData*>(calloc(1, sizeof(GeData)));
  FromValue(v, value);
  return value;
}
Bool BcCopyTo(const BaseContainer* bc, BaseContainer* dest, COPYFLAGS, AliasTrans*) {
  if (!dest) return false;
  Api()->container_copy(Handle(dest), Handle(bc));
  return true;
}

// Walks the container: the handle is one past the element's position; null at the end. The
// element's value stays valid until the next step.
void* BcBrowseContainer(const BaseContainer* bc, Int32* id, GeData** data, void* handle) {
  static GeData* value = nullptr;
  const auto at = reinterpret_cast<intptr_t>(handle);
  int32_t element = 0;
  GmValue v{};
  if (!Api()->container_get_index(Handle(bc), static_cast<int32_t>(at), &element, &v)) return nullptr;
  if (!value) value = static_cast<GeData*>(calloc(1, sizeof(GeData)));
  FromValue(v, value);
  if (id) *id = element;
  if (data) *data = value;
  return reinterpret_cast<void*>(at + 1);
}

// ---- C4D_GeData ----

// A String is its kernel string's pointer: the GeData's value word is one.
const String& GdGetString(const GeData* d) {
  static void* const none = nullptr;
  const GeDataView& v = View(d);
  return *reinterpret_cast<const String*>(v.type == DA_STRING ? &v.ptr : &none);
}

Int32 GdGetInt32(const GeData* d) { return View(d).type == DA_LONG ? View(d).i32 : 0; }
Int32 GdGetType(const GeData* d) { return View(d).type; }
BaseLink* GdGetLink(const GeData* d) {
  return View(d).type == DA_ALIASLINK ? static_cast<BaseLink*>(View(d).ptr) : nullptr;
}
Bool GdSetLink(GeData* d, const BaseLink& link) {
  const uint64_t marker = reinterpret_cast<const LinkBox*>(&link)->marker;
  GdFree(d);
  View(d).type = DA_ALIASLINK;
  View(d).ptr = new LinkBox{marker};
  return true;
}

// ---- C4D_Link ----

BaseLink* LnAlloc() { return reinterpret_cast<BaseLink*>(new LinkBox{0}); }
void LnFree(BaseLink* link) { delete reinterpret_cast<LinkBox*>(link); }
void LnSetLink(BaseLink* link, C4DAtomGoal* goal) {
  reinterpret_cast<LinkBox*>(link)->marker = goal ? Api()->node_marker(N(goal)) : 0;
}
C4DAtomGoal* LnGetLinkAtom(const BaseLink* link, const BaseDocument* doc, Int32 instanceof) {
  const uint64_t marker = reinterpret_cast<const LinkBox*>(link)->marker;
  return marker ? As<C4DAtomGoal>(Api()->link_resolve(marker, D(doc), instanceof)) : nullptr;
}
BaseList2D* LnGetLink(const BaseLink* link, const BaseDocument* doc, Int32 instanceof) {
  return reinterpret_cast<BaseList2D*>(LnGetLinkAtom(link, doc, instanceof));
}

// ---- C4D_Atom ----

AtomArray* AtAtomArrayAlloc() { return As<AtomArray>(Api()->array_alloc()); }
void AtAtomArrayFree(AtomArray*& arr) {
  if (arr) Api()->array_free(A(arr));
  arr = nullptr;
}
Bool AtAppend(AtomArray* arr, C4DAtom* obj) { return Api()->array_append(A(arr), N(obj)); }
Bool AtAARemove(AtomArray* arr, C4DAtom* obj) { return Api()->array_remove(A(arr), N(obj)); }
void AtAAFilterObject(AtomArray* arr, Int32 type, Int32 instance, Int32) {
  Api()->array_filter_object(A(arr), type, instance);
}
Int32 AtGetCount(const AtomArray* arr) { return Api()->array_count(A(arr)); }
C4DAtom* AtGetIndex(const AtomArray* arr, Int32 index) {
  return As<C4DAtom>(Api()->array_index(A(arr), index));
}
void AtGeMarkerGetMemory(const GeMarker* marker, void*& data, Int32& size) {
  data = const_cast<GeMarker*>(marker);
  size = static_cast<Int32>(sizeof(uint64_t));
}
const GeMarker& AtGetMarker(const BaseList2D* node) {
  return *reinterpret_cast<const GeMarker*>(Api()->node_marker_memory(N(node)));
}
C4DAtom* AtGetClone(C4DAtom* node, COPYFLAGS flags, AliasTrans*) {
  return As<C4DAtom>(Api()->node_get_clone(N(node), I(flags)));
}
BaseDocument* AtGetDocument(const GeListNode* node) {
  return As<BaseDocument>(Api()->node_get_document(N(node)));
}
GeListNode* AtGetDown(const GeListNode* node) { return As<GeListNode>(Api()->node_get_down(N(node))); }
GeListNode* AtGetNext(const GeListNode* node) { return As<GeListNode>(Api()->node_get_next(N(node))); }
GeListNode* AtGetPred(const GeListNode* node) { return As<GeListNode>(Api()->node_get_pred(N(node))); }
GeListNode* AtGetUp(const GeListNode* node) { return As<GeListNode>(Api()->node_get_up(N(node))); }
StringValue AtGetName(const BaseList2D* node) {
  size_t len = 0;
  const char* name = Api()->node_get_name(N(node), &len);
  return StringValue(NewString(name ? name : "", name ? len : 0));
}
void AtSetName(BaseList2D* node, const maxon::String& name) {
  const std::string text = Utf8(name);
  Api()->node_set_name(N(node), text.data(), text.size());
}
Int32 DescFirstId(const DescID& id) { return *reinterpret_cast<const Int32*>(&id); }
Bool AtGetParameter(C4DAtom* node, const DescID& id, GeData& data, DESCFLAGS_GET flags) {
  GmValue v{};
  if (!Api()->node_get_parameter(N(node), DescFirstId(id), &v, I(flags))) return false;
  FromValue(v, &data);
  return true;
}
Bool AtSetParameter(C4DAtom* node, const DescID& id, const GeData& data, DESCFLAGS_SET flags) {
  const GmValue v = ToValue(data);
  return Api()->node_set_parameter(N(node), DescFirstId(id), &v, I(flags));
}
Int32 AtGetType(const C4DAtom* node) { return Api()->node_get_type(N(node)); }
Bool AtIsInstanceOf(const C4DAtom* node, Int32 type) { return Api()->node_is_instance_of(N(node), type); }
Bool AtMessage(C4DAtom* node, Int32 type, void* data) { return Api()->node_message(N(node), type, data); }
void AtRemove(GeListNode* node) { Api()->node_remove(N(node)); }
void AtInsertUnderLast(GeListNode* node, GeListNode* parent) {
  Api()->node_insert_under_last(N(node), N(parent));
}
Bool AtTransferGoal(BaseList2D* source, BaseList2D* target, Bool undo_links) {
  return Api()->node_transfer_goal(N(source), N(target), undo_links);
}

// ---- C4D_BaseList, C4D_Object, C4D_Document ----

void BlFree(C4DAtom* node) {
  if (node) Api()->object_free(N(node));
}
Int32 BlGetAllBits(const BaseList2D* node) { return Api()->node_get_all_bits(N(node)); }
void BlSetAllBits(BaseList2D* node, Int32 bits) { Api()->node_set_all_bits(N(node), bits); }
BaseContainer* BlGetDataInstance(BaseList2D* node) {
  return As<BaseContainer>(Api()->node_get_data_instance(N(node)));
}

static_assert(sizeof(Matrix) == sizeof(GmMatrix), "a matrix is its offset and three axes");
BaseObject* BoAlloc(Int32 type) { return As<BaseObject>(Api()->object_alloc(type)); }
BaseTag* BoGetFirstTag(BaseObject* op) { return As<BaseTag>(Api()->object_get_first_tag(N(op))); }
const Matrix& BoGetMl(const BaseObject* op) {
  return *reinterpret_cast<const Matrix*>(Api()->object_get_ml(N(op)));
}
void BoSetMl(BaseObject* op, const Matrix& m) {
  Api()->object_set_ml(N(op), reinterpret_cast<const GmMatrix*>(&m));
}
void BoCopyMatrixTo(BaseObject* src, BaseObject* dst) {
  const GmMatrix m = *Api()->object_get_ml(N(src));
  Api()->object_set_ml(N(dst), &m);
}

Bool BdStartUndo(BaseDocument* doc) { return Api()->doc_start_undo(D(doc)); }
Bool BdEndUndo(BaseDocument* doc) { return Api()->doc_end_undo(D(doc)); }
Bool BdAddUndo(BaseDocument* doc, UNDOTYPE type, void* data, Bool) {
  return Api()->doc_add_undo(D(doc), I(type), N(data));
}
BaseObject* BdGetActiveObject(BaseDocument* doc) {
  return As<BaseObject>(Api()->doc_get_active_object(D(doc)));
}
BaseObject* BdGetFirstObject(BaseDocument* doc) {
  return As<BaseObject>(Api()->doc_get_first_object(D(doc)));
}
void BdGetActiveObjects(const BaseDocument* doc, AtomArray& out, GETACTIVEOBJECTFLAGS flags) {
  Api()->doc_get_active_objects(D(doc), A(&out), I(flags));
}
void BdGetActiveObjectsFilter(const BaseDocument* doc, AtomArray& out, Bool children, Int32 type,
                              Int32 instanceof) {
  Api()->doc_get_active_objects_filter(D(doc), A(&out), children, type, instanceof);
}
void BdInsertObject(BaseDocument* doc, BaseObject* op, BaseObject* parent, BaseObject* pred,
                    Bool checknames) {
  Api()->doc_insert_object(D(doc), N(op), N(parent), N(pred), checknames);
}

// ---- C4D_String ----

maxon::StringInterface*& Cell(const String* s) {
  return *reinterpret_cast<maxon::StringInterface**>(const_cast<String*>(s));
}

// The module's String += goes through here: the module's string object is the kernel's, copied
// first when it is shared.
void StInsert(String* s, Int32 pos, const String& src, Int32 start, Int32 end) {
  maxon::StringInterface*& cell = Cell(s);
  maxon::StringInterface* from = Cell(&src);
  AddReference(from);  // src may be s itself
  if (!cell) {
    cell = NewString("", 0);
  } else if (IsShared(cell)) {
    maxon::StringInterface* copy = CopyString(cell);
    Release(cell);
    cell = copy;
  }
  const Int first = start < 0 ? 0 : start;
  InsertInto(cell, pos, from, first, end < 0 ? -1 : end - first);
  Release(from);
}

// ---- C4D_General ----

void GeEventAdd(EVENT flags) { Api()->event_add(I(flags)); }
void GeStopAllThreads(Int32, Bool, Bool) { Api()->stop_all_threads(); }
Bool GeIsMainThreadAndNoDrawThread() { return true; }
Bool GeEwBfGetInputState(EditorWindow*, Int32 device, Int32 channel, BaseContainer* res) {
  return res && Api()->get_input_state(device, channel, Handle(res));
}
BaseContainer* GeGetWorldPluginData(Int32 id) {
  return As<BaseContainer>(Api()->get_world_plugin_data(id));
}
Bool GeSetWorldPluginData(Int32 id, const BaseContainer* bc, Bool add) {
  return bc && Api()->set_world_plugin_data(id, Handle(bc), add);
}
GEMB_R GeOutString(const maxon::String& text, GEMB) {
  const std::string t = Utf8(text);
  Api()->message_dialog(t.data(), t.size());
  return GEMB_R::V_OK;
}
Bool GeRenameDialog(String* name) {
  const std::string current = Utf8(Cell(name));
  const char* typed = nullptr;
  size_t len = 0;
  if (!Api()->rename_dialog(current.data(), current.size(), &typed, &len)) return false;
  Release(Cell(name));
  Cell(name) = NewString(typed ? typed : "", typed ? len : 0);
  return true;
}

// The application's command call (CallCommand) is the one core message the module sends.
GeDataValue GeSendCoreMessage(Int32 coreid, const BaseContainer& msg, Int32) {
  if (coreid != COREMSG_CINEMA || BcGetId(&msg) != COREMSG_CINEMA_EXECUTEEDITORCOMMAND) {
    Unsupported("C4D_General.SendCoreMessage with core " + std::to_string(coreid) + ", message " +
                std::to_string(BcGetId(&msg)));
  }
  Api()->call_command(BcGetInt32(&msg, COREMSG_CINEMA_EXECUTEEDITORCOMMAND, 0),
                      BcGetInt32(&msg, COREMSG_CINEMA_EXECUTESUBID, 0));
  return GeDataValue();
}

// ---- the description library, found through the registry ----

// A DescID holds its first level (the module's parameters have one).
DescLevel& Level(DescID* id) { return *reinterpret_cast<DescLevel*>(id); }
static_assert(sizeof(DescLevel) <= sizeof(DescID), "a level fits a DescID");

void DescIdInit(DescID* id) { std::memset(static_cast<void*>(id), 0, sizeof(DescID)); }
void DescIdFree(DescID*) {}
void DescIdSetId(DescID* id, const DescLevel& level) { Level(id) = level; }
void DescIdCopyTo(DescID* src, DescID* dest) { Level(dest) = Level(src); }
const DescLevel& DescIdLevel(DescID* id, Int32 pos) {
  if (pos != 0) Unsupported("DescriptionLib.DescID_operator1 beyond the first level");
  return Level(id);
}
Bool DescIdCompare(DescID* a, DescID* b) {
  return Level(a).id == Level(b).id && Level(a).dtype == Level(b).dtype &&
         Level(a).creator == Level(b).creator;
}
Description* DescAlloc() { return As<Description>(Api()->description_alloc()); }
void DescFree(Description*& desc) {
  if (desc) Api()->description_free(As<GmDescription>(desc));
  desc = nullptr;
}
Bool DescLoadDescriptionId(Description* desc, Int32 type) {
  return Api()->description_load(As<GmDescription>(desc), type);
}
// The host's description container is read-only to the module, as the SDK documents it.
BaseContainer* DescGetParameterI(Description* desc, const DescID& id, AtomArray*) {
  const DescLevel& level = Level(const_cast<DescID*>(&id));
  return As<BaseContainer>(Api()->description_get_parameter(As<GmDescription>(desc), level.id,
                                                            level.dtype, level.creator));
}

DescriptionLib& DescLib() {
  static DescriptionLib lib = [] {
    DescriptionLib l;
    std::memset(static_cast<void*>(&l), 0, sizeof l);
    l.version = 1;
    l.size = static_cast<Int32>(sizeof l);
    size_t filled = sizeof(C4DLibrary);
#define TABLE(T, F)
#define ENTRY(T, F, M)
#define FUNCTION(T, F)
#define LIBRARY(L)
#define LIBRARY_ENTRY(L, M) \
  Trap(l.M, #L "." #M);     \
  filled += sizeof(l.M);
#include "tables.inc"
#undef TABLE
#undef ENTRY
#undef FUNCTION
#undef LIBRARY
#undef LIBRARY_ENTRY
    if (filled != sizeof l) Unsupported("DescriptionLib (its entry list does not fill it)");
    l.Alloc = DescAlloc;
    l.Free = DescFree;
    l.LoadDescriptionId = DescLoadDescriptionId;
    l.GetParameterI = DescGetParameterI;
    l.DescID_Init = DescIdInit;
    l.DescID_Free = DescIdFree;
    l.DescID_SetId = DescIdSetId;
    l.DescID_CopyTo = DescIdCopyTo;
    l.DescID_operator1 = DescIdLevel;
    l.DescID_Compare = DescIdCompare;
    return l;
  }();
  return lib;
}

Registry* GeRegistryFind(Int32 sub_id, REGISTRYTYPE main_id) {
  if (main_id == REGISTRYTYPE::LIBRARY && sub_id == LIBRARY_DESCRIPTIONLIB) {
    return reinterpret_cast<Registry*>(&DescLib());
  }
  return nullptr;
}
Bool GeRegistryGetData(Registry* reg, REGISTRYTYPE* main_id, Int32* sub_id, void** data) {
  if (reg != reinterpret_cast<Registry*>(&DescLib())) return false;
  if (main_id) *main_id = REGISTRYTYPE::LIBRARY;
  if (sub_id) *sub_id = LIBRARY_DESCRIPTIONLIB;
  if (data) *data = &DescLib();
  return true;
}

}  // namespace

void ImplementScene(OperatingSystem& os) {
  SetMember(os.Bc->SDKInit, BcSDKInit);
  SetMember(os.Bc->FlushAll, BcFlushAll);
  SetMember(os.Bc->GetId, BcGetId);
  SetMember(os.Bc->SetId, BcSetId);
  SetMember(os.Bc->SetInt32, BcSetInt32);
  SetMember(os.Bc->SetLink, BcSetLink);
  SetMember(os.Bc->SetContainer, BcSetContainer);
  SetMember(os.Bc->GetInt32, BcGetInt32);
  SetMember(os.Bc->GetLink, BcGetLink);
  SetMember(os.Bc->GetContainerInstance, BcGetContainerInstance);
  SetMember(os.Bc->GetContainerInstanceConst, BcGetContainerInstanceConst);
  SetMember(os.Bc->FindIndex, BcFindIndex);
  SetMember(os.Bc->CopyTo, BcCopyTo);
  SetMember(os.Bc->GetIndexId, BcGetIndexId);
  SetMember(os.Bc->GetDataPointer, BcGetDataPointer);
  os.Bc->BrowseContainer = BcBrowseContainer;
  os.Gd->Free = GdFree;
  os.Gd->GetType = GdGetType;
  os.Gd->GetString = GdGetString;
  os.Gd->GetInt32 = GdGetInt32;
  os.Gd->GetLink = GdGetLink;
  os.Gd->SetLink = GdSetLink;
  os.Ln->Alloc = LnAlloc;
  os.Ln->Free = LnFree;
  os.Ln->SetLink = LnSetLink;
  os.Ln->GetLink = LnGetLink;
  os.Ln->GetLinkAtom = LnGetLinkAtom;
  os.At->AtomArrayAlloc = AtAtomArrayAlloc;
  os.At->AtomArrayFree = AtAtomArrayFree;
  SetMember(os.At->Append, AtAppend);
  SetMember(os.At->AARemove, AtAARemove);
  SetMember(os.At->AAFilterObject, AtAAFilterObject);
  SetMember(os.At->GetCount, AtGetCount);
  SetMember(os.At->GetIndex, AtGetIndex);
  SetMember(os.At->GeMarkerGetMemory, AtGeMarkerGetMemory);
  SetMember(os.At->GetMarker, AtGetMarker);
  SetMember(os.At->GetClone, AtGetClone);
  SetMember(os.At->GetDocument, AtGetDocument);
  SetMember(os.At->GetDown, AtGetDown);
  SetMember(os.At->GetNext, AtGetNext);
  SetMember(os.At->GetPred, AtGetPred);
  SetMember(os.At->GetUp, AtGetUp);
  SetMemberRaw(os.At->GetName, AtGetName);  // String by value: a look-alike
  SetMember(os.At->SetName, AtSetName);
  SetMember(os.At->GetParameter, AtGetParameter);
  SetMember(os.At->SetParameter, AtSetParameter);
  SetMember(os.At->GetType, AtGetType);
  SetMember(os.At->IsInstanceOf, AtIsInstanceOf);
  SetMember(os.At->Message, AtMessage);
  SetMember(os.At->Remove, AtRemove);
  SetMember(os.At->InsertUnderLast, AtInsertUnderLast);
  SetMember(os.At->TransferGoal, AtTransferGoal);
  os.Bl->Free = BlFree;
  os.Bl->GetAllBits = BlGetAllBits;
  os.Bl->SetAllBits = BlSetAllBits;
  os.Bl->GetDataInstance = BlGetDataInstance;
  os.Bo->Alloc = BoAlloc;
  os.Bo->GetFirstTag = BoGetFirstTag;
  os.Bo->CopyMatrixTo = BoCopyMatrixTo;
  SetMember(os.Bo->GetMl, BoGetMl);
  SetMember(os.Bo->SetMl, BoSetMl);
  os.Bd->StartUndo = BdStartUndo;
  os.Bd->EndUndo = BdEndUndo;
  os.Bd->AddUndo = BdAddUndo;
  os.Bd->GetActiveObject = BdGetActiveObject;
  os.Bd->GetFirstObject = BdGetFirstObject;
  os.Bd->InsertObject = BdInsertObject;
  SetMember(os.Bd->GetActiveObjects, BdGetActiveObjects);
  SetMember(os.Bd->GetActiveObjectsFilter, BdGetActiveObjectsFilter);
  SetMember(os.St->Insert, StInsert);
  static String* empty = [] {
    auto* cell = static_cast<maxon::StringInterface**>(calloc(1, sizeof(String)));
    *cell = NewString("", 0);
    return reinterpret_cast<String*>(cell);
  }();
  os.St->Default = empty;
  os.Ge->EventAdd = GeEventAdd;
  os.Ge->StopAllThreads = GeStopAllThreads;
  os.Ge->IsMainThreadAndNoDrawThread = GeIsMainThreadAndNoDrawThread;
  os.Ge->EwBfGetInputState = GeEwBfGetInputState;
  os.Ge->GetWorldPluginData = GeGetWorldPluginData;
  os.Ge->SetWorldPluginData = GeSetWorldPluginData;
  os.Ge->OutString = GeOutString;
  os.Ge->RenameDialog = GeRenameDialog;
  os.Ge->RegistryFind = GeRegistryFind;
  os.Ge->RegistryGetData = GeRegistryGetData;
  SetByValue(os.Ge->SendCoreMessage, GeSendCoreMessage);
}

}  // namespace adapter
