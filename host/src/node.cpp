#include <cstddef>

#include "binding.h"

using gm::Api;
using gm::Node;

// ---- C4DAtom ----

Int32 C4DAtom::GetType() const { return Api()->node_get_type(Node(this)); }

Bool C4DAtom::IsInstanceOf(Int32 id) const { return Api()->node_is_instance_of(Node(this), id); }

C4DAtom* C4DAtom::GetClone(COPYFLAGS flags, AliasTrans* /*trn*/) {
  return gm::As<C4DAtom>(Api()->node_get_clone(Node(this), static_cast<int32_t>(flags)));
}

Bool C4DAtom::GetParameter(const DescID& id, GeData& t_data, DESCFLAGS_GET flags) {
  GmValue v{};
  if (!Api()->node_get_parameter(Node(this), id[0].id, &v, static_cast<int32_t>(flags))) return false;
  t_data = gm::FromValue(v);
  return true;
}

Bool C4DAtom::SetParameter(const DescID& id, const GeData& t_data, DESCFLAGS_SET flags) {
  const GmValue v = gm::ToValue(t_data);
  return Api()->node_set_parameter(Node(this), id[0].id, &v, static_cast<int32_t>(flags));
}

Bool C4DAtom::Message(Int32 type, void* data) { return Api()->node_message(Node(this), type, data); }

// ---- GeMarker: a view of the marker the host keeps in the node ----

namespace {
UInt64 MarkerValue(const GeMarker* m) { return *reinterpret_cast<const UInt64*>(m); }
}  // namespace

Bool GeMarker::IsPopulated() const { return MarkerValue(this) != 0; }
Bool GeMarker::IsEqual(const GeMarker& m) const { return MarkerValue(this) == MarkerValue(&m); }
Int32 GeMarker::Compare(const GeMarker& m) const {
  return MarkerValue(this) == MarkerValue(&m) ? 0 : (MarkerValue(this) < MarkerValue(&m) ? -1 : 1);
}
void GeMarker::GetMemory(void*& data, Int32& size) const {
  data = const_cast<GeMarker*>(this);
  size = static_cast<Int32>(sizeof(UInt64));
}

// ---- GeListNode ----

GeListNode* GeListNode::GetNext() { return gm::As<GeListNode>(Api()->node_get_next(Node(this))); }
GeListNode* GeListNode::GetPred() { return gm::As<GeListNode>(Api()->node_get_pred(Node(this))); }
GeListNode* GeListNode::GetUp() { return gm::As<GeListNode>(Api()->node_get_up(Node(this))); }
GeListNode* GeListNode::GetDown() { return gm::As<GeListNode>(Api()->node_get_down(Node(this))); }
void GeListNode::Remove() { Api()->node_remove(Node(this)); }

void GeListNode::InsertUnderLast(GeListNode* bl) {
  Api()->node_insert_under_last(Node(this), Node(bl));
}

BaseDocument* GeListNode::GetDocument() {
  return reinterpret_cast<BaseDocument*>(Api()->node_get_document(Node(this)));
}

// ---- BaseList2D ----

String BaseList2D::GetName() const {
  size_t len = 0;
  const char* s = Api()->node_get_name(Node(this), &len);
  return gm::TakeString(s, len);
}

void BaseList2D::SetName(const String& name) {
  Api()->node_set_name(Node(this), name.GetStdString().data(), name.GetStdString().size());
}

Int32 BaseList2D::GetAllBits() const { return Api()->node_get_all_bits(Node(this)); }
void BaseList2D::SetAllBits(Int32 bits) { Api()->node_set_all_bits(Node(this), bits); }

void BaseList2D::ToggleBit(Int32 mask) { SetAllBits(GetAllBits() ^ mask); }

const BaseContainer* BaseList2D::GetDataInstance() const {
  return gm::View(Api()->node_get_data_instance(Node(this)));
}

BaseContainer* BaseList2D::GetDataInstance() {
  return gm::View(Api()->node_get_data_instance(Node(this)));
}

// The host's marker of a node never moves while the node lives, so the reference stays good as
// long as the element does.
const GeMarker& BaseList2D::GetMarker() const {
  return *reinterpret_cast<const GeMarker*>(Api()->node_marker_memory(Node(this)));
}

Bool BaseList2D::TransferGoal(BaseList2D* dst, Bool undolink) {
  return Api()->node_transfer_goal(Node(this), Node(dst), undolink);
}

// ---- BaseObject ----

BaseObject* BaseObject::Alloc(Int32 type) { return gm::As<BaseObject>(Api()->object_alloc(type)); }

void BaseObject::Free(BaseObject*& bl) {
  if (bl) Api()->object_free(Node(bl));
  bl = nullptr;
}

// The host's matrix has the binding's layout: four vectors of three doubles, in the same order.
static_assert(sizeof(Matrix) == sizeof(GmMatrix) && offsetof(Matrix, v3) == offsetof(GmMatrix, v3),
              "Matrix and GmMatrix differ in layout");

const Matrix& BaseObject::GetMl(void) const {
  return *reinterpret_cast<const Matrix*>(Api()->object_get_ml(Node(this)));
}

void BaseObject::SetMl(const Matrix& m) {
  Api()->object_set_ml(Node(this), reinterpret_cast<const GmMatrix*>(&m));
}

BaseTag* BaseObject::GetFirstTag(void) {
  return gm::As<BaseTag>(Api()->object_get_first_tag(gm::Node(this)));
}

void BaseObject::CopyMatrixTo(BaseObject* dst) {
  if (dst) dst->SetMl(GetMl());
}

// ---- BaseDocument ----

Bool BaseDocument::StartUndo(void) { return Api()->doc_start_undo(gm::Doc(this)); }
Bool BaseDocument::EndUndo(void) { return Api()->doc_end_undo(gm::Doc(this)); }

Bool BaseDocument::AddUndo(UNDOTYPE type, void* data, Bool /*allowFromThread*/) {
  return Api()->doc_add_undo(gm::Doc(this), static_cast<int32_t>(type), Node(data));
}

void BaseDocument::GetActiveObjects(AtomArray& selection, GETACTIVEOBJECTFLAGS flags) const {
  Api()->doc_get_active_objects(gm::Doc(this), reinterpret_cast<GmArray*>(&selection),
                                static_cast<int32_t>(flags));
}

void BaseDocument::GetActiveObjectsFilter(AtomArray& selection, Bool children, Int32 type,
                                          Int32 instanceof) const {
  Api()->doc_get_active_objects_filter(gm::Doc(this), reinterpret_cast<GmArray*>(&selection),
                                       children, type, instanceof);
}

BaseObject* BaseDocument::GetActiveObject(void) {
  return gm::As<BaseObject>(Api()->doc_get_active_object(gm::Doc(this)));
}

BaseObject* BaseDocument::GetFirstObject(void) {
  return gm::As<BaseObject>(Api()->doc_get_first_object(gm::Doc(this)));
}

void BaseDocument::InsertObject(BaseObject* op, BaseObject* parent, BaseObject* pred,
                                Bool checknames) {
  Api()->doc_insert_object(gm::Doc(this), Node(op), Node(parent), Node(pred), checknames);
}

// ---- AtomArray ----

namespace {
GmArray* ArrayHandle(const AtomArray* a) { return reinterpret_cast<GmArray*>(const_cast<AtomArray*>(a)); }
}  // namespace

AtomArray* AtomArray::Alloc() { return reinterpret_cast<AtomArray*>(Api()->array_alloc()); }

void AtomArray::Free(AtomArray*& obj) {
  if (obj) Api()->array_free(ArrayHandle(obj));
  obj = nullptr;
}

Int32 AtomArray::GetCount() const { return Api()->array_count(ArrayHandle(this)); }

C4DAtom* AtomArray::GetIndex(Int32 idx) const {
  return gm::As<C4DAtom>(Api()->array_index(ArrayHandle(this), idx));
}

Bool AtomArray::Append(C4DAtom* obj) { return Api()->array_append(ArrayHandle(this), Node(obj)); }
Bool AtomArray::Remove(C4DAtom* obj) { return Api()->array_remove(ArrayHandle(this), Node(obj)); }

void AtomArray::FilterObject(Int32 type, Int32 instance, Bool /*generators*/) {
  Api()->array_filter_object(ArrayHandle(this), type, instance);
}
