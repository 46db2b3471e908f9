#include "binding.h"

using gm::Api;

BaseContainer::BaseContainer() : _h(Api() ? Api()->container_alloc() : nullptr) {}

BaseContainer::BaseContainer(const BaseContainer& src) : BaseContainer() {
  if (_h && src._h) Api()->container_copy(_h, src._h);
}

const BaseContainer& BaseContainer::operator=(const BaseContainer& src) {
  if (this != &src && _h && src._h) Api()->container_copy(_h, src._h);
  return *this;
}

BaseContainer::~BaseContainer() {
  if (_h) Api()->container_free(_h);
}

Int32 BaseContainer::GetInt32(Int32 id, Int32 preset) const {
  GmValue v{};
  if (!_h || !Api()->container_get(_h, id, &v) || v.type != GM_VALUE_LONG) return preset;
  return v.i32;
}

void BaseContainer::SetInt32(Int32 id, Int32 value) {
  if (!_h) return;
  GmValue v{};
  v.type = GM_VALUE_LONG;
  v.i32 = value;
  Api()->container_set(_h, id, &v);
}

BaseList2D* BaseContainer::GetLink(Int32 id, const BaseDocument* doc, Int32 instanceof) const {
  GmValue v{};
  if (!_h || !Api()->container_get(_h, id, &v) || v.type != GM_VALUE_LINK || v.marker == 0)
    return nullptr;
  return gm::As<BaseList2D>(Api()->link_resolve(v.marker, gm::Doc(doc), instanceof));
}

void BaseContainer::SetLink(Int32 id, C4DAtomGoal* link) {
  if (!_h) return;
  GmValue v{};
  v.type = GM_VALUE_LINK;
  v.marker = link ? Api()->node_marker(gm::Node(link)) : 0;
  Api()->container_set(_h, id, &v);
}

BaseContainer* BaseContainer::GetContainerInstance(Int32 id) {
  return _h ? gm::View(Api()->container_get_container_instance(_h, id)) : nullptr;
}

const BaseContainer* BaseContainer::GetContainerInstance(Int32 id) const {
  return _h ? gm::View(Api()->container_get_container_instance(_h, id)) : nullptr;
}

void BaseContainer::SetContainer(Int32 id, const BaseContainer& bc) {
  if (!_h || !bc._h) return;
  GmValue v{};
  v.type = GM_VALUE_CONTAINER;
  v.sub = bc._h;
  Api()->container_set(_h, id, &v);
}

Int32 BaseContainer::FindIndex(Int32 id, GeData** ppData) const {
  if (ppData) *ppData = nullptr;
  if (!_h) return NOTOK;
  const int32_t count = Api()->container_count(_h);
  for (int32_t index = 0; index < count; ++index) {
    int32_t found = NOTOK;
    GmValue v{};
    if (Api()->container_get_index(_h, index, &found, &v) && found == id) return index;
  }
  return NOTOK;
}

Int32 BaseContainer::GetIndexId(Int32 index) const {
  int32_t id = NOTOK;
  if (!_h || !Api()->container_get_index(_h, index, &id, nullptr)) return NOTOK;
  return id;
}

Int32 BaseContainer::GetType(Int32 id) const {
  GmValue v{};
  if (!_h || !Api()->container_get(_h, id, &v)) return DA_NIL;
  return v.type;
}

// ---- GeData ----

GeData::GeData(const GeData& o)
    : _type(o._type), _i32(o._i32), _real(o._real), _marker(o._marker), _str(o._str) {
  if (o._bc) _bc = std::make_unique<BaseContainer>(*o._bc);
}

GeData& GeData::operator=(const GeData& o) {
  if (this != &o) {
    GeData copy(o);
    *this = std::move(copy);
  }
  return *this;
}

void GeData::SetContainer(const BaseContainer& bc) {
  Clear();
  _type = DA_CONTAINER;
  _bc = std::make_unique<BaseContainer>(bc);
}

void GeData::SetBaseLink(const BaseLink& v) { SetLinkMarker(v.GetLinkMarker()); }

C4DAtomGoal* GeData::GetLinkAtom(const BaseDocument* doc, Int32 instanceof) const {
  if (_type != DA_ALIASLINK || _marker == 0) return nullptr;
  return gm::As<C4DAtomGoal>(Api()->link_resolve(_marker, gm::Doc(doc), instanceof));
}

// ---- BaseLink ----

namespace {
GmLink* LinkHandle(const BaseLink* l) { return reinterpret_cast<GmLink*>(const_cast<BaseLink*>(l)); }
}  // namespace

BaseLink* BaseLink::Alloc() { return reinterpret_cast<BaseLink*>(Api()->link_alloc()); }

void BaseLink::Free(BaseLink*& link) {
  if (link) Api()->link_free(LinkHandle(link));
  link = nullptr;
}

void BaseLink::SetLink(C4DAtomGoal* list) { Api()->link_set(LinkHandle(this), gm::Node(list)); }

BaseList2D* BaseLink::GetLink(const BaseDocument* doc, Int32 instanceof) const {
  const UInt64 marker = GetLinkMarker();
  return marker ? gm::As<BaseList2D>(Api()->link_resolve(marker, gm::Doc(doc), instanceof)) : nullptr;
}

UInt64 BaseLink::GetLinkMarker() const { return Api()->link_marker(LinkHandle(this)); }
