#include "binding.h"

using gm::Api;
using gm::Node;

namespace {
GmMatrix ToGm(const Matrix& m) {
  GmMatrix g{};
  const Vector* src[4] = {&m.off, &m.v1, &m.v2, &m.v3};
  double* dst[4] = {g.off, g.v1, g.v2, g.v3};
  for (int i = 0; i < 4; ++i) {
    dst[i][0] = src[i]->x;
    dst[i][1] = src[i]->y;
    dst[i][2] = src[i]->z;
  }
  return g;
}

Matrix FromGm(const GmMatrix& g) {
  Matrix m;
  m.off = Vector(g.off[0], g.off[1], g.off[2]);
  m.v1 = Vector(g.v1[0], g.v1[1], g.v1[2]);
  m.v2 = Vector(g.v2[0], g.v2[1], g.v2[2]);
  m.v3 = Vector(g.v3[0], g.v3[1], g.v3[2]);
  return m;
}
}  // namespace

// ---- C4DAtom ----

Int32 C4DAtom::GetType() const { return Api()->node_get_type(Node(this)); }

Bool C4DAtom::IsInstanceOf(Int32 id) const { return Api()->node_is_instance_of(Node(this), id); }

C4DAtom* C4DAtom::GetClone(COPYFLAGS flags, AliasTrans* /*trn*/) const {
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

UInt64 C4DAtom::GetMarker() const { return Api()->node_marker(Node(this)); }

// ---- GeListNode ----

GeListNode* GeListNode::GetNext() { return gm::As<GeListNode>(Api()->node_get_next(Node(this))); }
GeListNode* GeListNode::GetPred() { return gm::As<GeListNode>(Api()->node_get_pred(Node(this))); }
GeListNode* GeListNode::GetUp() { return gm::As<GeListNode>(Api()->node_get_up(Node(this))); }
GeListNode* GeListNode::GetDown() { return gm::As<GeListNode>(Api()->node_get_down(Node(this))); }
void GeListNode::Remove() { Api()->node_remove(Node(this)); }

void GeListNode::InsertUnderLast(GeListNode* parent) {
  Api()->node_insert_under_last(Node(this), Node(parent));
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

BaseContainer* BaseList2D::GetDataInstance() {
  return gm::View(Api()->node_get_data_instance(Node(this)));
}

Bool BaseList2D::TransferGoal(BaseList2D* dst, Bool undolink) {
  return Api()->node_transfer_goal(Node(this), Node(dst), undolink);
}

// ---- BaseObject ----

BaseObject* BaseObject::Alloc(Int32 type) { return gm::As<BaseObject>(Api()->object_alloc(type)); }

void BaseObject::Free(BaseObject*& op) {
  if (op) Api()->object_free(Node(op));
  op = nullptr;
}

Matrix BaseObject::GetMl() const {
  GmMatrix g{};
  Api()->object_get_ml(Node(this), &g);
  return FromGm(g);
}

void BaseObject::SetMl(const Matrix& m) {
  const GmMatrix g = ToGm(m);
  Api()->object_set_ml(Node(this), &g);
}

void BaseObject::CopyMatrixTo(BaseObject* dest) const {
  if (dest) dest->SetMl(GetMl());
}

// ---- BaseDocument ----

Bool BaseDocument::StartUndo() { return Api()->doc_start_undo(gm::Doc(this)); }
Bool BaseDocument::EndUndo() { return Api()->doc_end_undo(gm::Doc(this)); }

Bool BaseDocument::AddUndo(UNDOTYPE type, void* data) {
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

BaseObject* BaseDocument::GetActiveObject() const {
  return gm::As<BaseObject>(Api()->doc_get_active_object(gm::Doc(this)));
}

BaseObject* BaseDocument::GetFirstObject() const {
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

void AtomArray::Free(AtomArray*& arr) {
  if (arr) Api()->array_free(ArrayHandle(arr));
  arr = nullptr;
}

Int32 AtomArray::GetCount() const { return Api()->array_count(ArrayHandle(this)); }

C4DAtom* AtomArray::GetIndex(Int32 idx) const {
  return gm::As<C4DAtom>(Api()->array_index(ArrayHandle(this), idx));
}

Bool AtomArray::Append(C4DAtom* obj) { return Api()->array_append(ArrayHandle(this), Node(obj)); }
Bool AtomArray::Remove(C4DAtom* obj) { return Api()->array_remove(ArrayHandle(this), Node(obj)); }

void AtomArray::FilterObject(Int32 type, Int32 instance) {
  Api()->array_filter_object(ArrayHandle(this), type, instance);
}
