// Containers (see container.h): the container_* entries of the table.
#include "container.h"

#include <sstream>

#include "api_table.h"

namespace standin {

Value Value::Copy() const {
  Value v;
  v.type = type;
  v.i32 = i32;
  v.real = real;
  v.marker = marker;
  v.str = str;
  if (sub) v.sub = CopyContainer(*sub);
  return v;
}

std::unique_ptr<GmContainer> CopyContainer(const GmContainer& src) {
  auto c = std::make_unique<GmContainer>();
  AssignContainer(*c, src);
  return c;
}

void AssignContainer(GmContainer& dst, const GmContainer& src) {
  if (&dst == &src) return;
  std::vector<std::pair<int32_t, Value>> elements;
  elements.reserve(src.elements.size());
  for (const auto& [id, v] : src.elements) elements.emplace_back(id, v.Copy());
  dst.elements = std::move(elements);
}

const Value* FindElement(const GmContainer& bc, int32_t id) {
  for (const auto& e : bc.elements)
    if (e.first == id) return &e.second;
  return nullptr;
}

Value* FindElement(GmContainer& bc, int32_t id) {
  for (auto& e : bc.elements)
    if (e.first == id) return &e.second;
  return nullptr;
}

void SetElement(GmContainer& bc, int32_t id, Value v) {
  if (Value* old = FindElement(bc, id)) {
    *old = std::move(v);
    return;
  }
  bc.elements.emplace_back(id, std::move(v));
}

bool RemoveElement(GmContainer& bc, int32_t id) {
  for (auto it = bc.elements.begin(); it != bc.elements.end(); ++it) {
    if (it->first == id) {
      bc.elements.erase(it);
      return true;
    }
  }
  return false;
}

Value FromGm(const GmValue& in) {
  Value v;
  v.type = in.type;
  switch (in.type) {
    case GM_VALUE_LONG: v.i32 = in.i32; break;
    case GM_VALUE_REAL: v.real = in.real; break;
    case GM_VALUE_STRING: v.str.assign(in.str ? in.str : "", in.str ? in.str_len : 0); break;
    case GM_VALUE_LINK: v.marker = in.marker; break;
    case GM_VALUE_CONTAINER:
      v.sub = in.sub ? CopyContainer(*in.sub) : std::make_unique<GmContainer>();
      break;
    default: v.type = GM_VALUE_NONE; break;
  }
  return v;
}

void ToGm(const Value& v, GmValue* out) {
  *out = GmValue{};
  out->type = v.type;
  out->i32 = v.i32;
  out->real = v.real;
  out->marker = v.marker;
  if (v.type == GM_VALUE_STRING) {
    out->str = v.str.data();
    out->str_len = v.str.size();
  }
  out->sub = v.sub.get();
}

ValueData ToData(const Value& v) {
  ValueData d;
  d.type = v.type;
  d.i32 = v.i32;
  d.real = v.real;
  d.str = v.str;
  d.marker = v.marker;
  if (v.sub) d.sub = ToData(*v.sub);
  return d;
}

ContainerData ToData(const GmContainer& bc) {
  ContainerData d;
  d.reserve(bc.elements.size());
  for (const auto& [id, v] : bc.elements) d.emplace_back(id, ToData(v));
  return d;
}

Value FromData(const ValueData& d) {
  Value v;
  v.type = d.type;
  v.i32 = d.i32;
  v.real = d.real;
  v.str = d.str;
  v.marker = d.marker;
  if (d.type == GM_VALUE_CONTAINER) v.sub = FromData(d.sub);
  return v;
}

std::unique_ptr<GmContainer> FromData(const ContainerData& data) {
  auto c = std::make_unique<GmContainer>();
  for (const auto& [id, d] : data) c->elements.emplace_back(id, FromData(d));
  return c;
}

bool HasLink(const GmContainer& bc, Marker m) {
  for (const auto& e : bc.elements) {
    if (e.second.type == GM_VALUE_LINK && (m == 0 || e.second.marker == m)) return true;
    if (e.second.sub && HasLink(*e.second.sub, m)) return true;
  }
  return false;
}

bool AdoptInner(GmContainer& bc, GmNode* owner) {
  bool links = false;
  for (auto& e : bc.elements) {
    if (e.second.type == GM_VALUE_LINK) links = true;
    if (e.second.sub) {
      e.second.sub->owner = owner;
      links = AdoptInner(*e.second.sub, owner) || links;
    }
  }
  return links;
}

Value LongValue(int32_t i) {
  Value v;
  v.type = GM_VALUE_LONG;
  v.i32 = i;
  return v;
}

Value LinkValue(Marker m) {
  Value v;
  v.type = GM_VALUE_LINK;
  v.marker = m;
  return v;
}

bool ValueData::operator==(const ValueData& o) const {
  if (type != o.type) return false;
  switch (type) {
    case GM_VALUE_LONG: return i32 == o.i32;
    case GM_VALUE_REAL: return real == o.real;
    case GM_VALUE_STRING: return str == o.str;
    case GM_VALUE_LINK: return marker == o.marker;
    case GM_VALUE_CONTAINER: return sub == o.sub;
    default: return true;
  }
}

static void Write(std::ostream& os, const ContainerData& c);

static void Write(std::ostream& os, const ValueData& v) {
  switch (v.type) {
    case GM_VALUE_LONG: os << v.i32; break;
    case GM_VALUE_REAL: os << v.real; break;
    case GM_VALUE_STRING: os << '"' << v.str << '"'; break;
    case GM_VALUE_LINK: os << "link#" << v.marker; break;
    case GM_VALUE_CONTAINER: Write(os, v.sub); break;
    default: os << "none"; break;
  }
}

static void Write(std::ostream& os, const ContainerData& c) {
  os << '{';
  bool first = true;
  for (const auto& [id, v] : c) {
    if (!first) os << ", ";
    first = false;
    os << id << ": ";
    Write(os, v);
  }
  os << '}';
}

std::string ToString(const ContainerData& c) {
  std::ostringstream os;
  Write(os, c);
  return os.str();
}

// ---- the table's entries ----

namespace {

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

}  // namespace

void FillContainerApi(GmHostApi* t) {
  t->container_alloc = ContainerAlloc;
  t->container_free = ContainerFree;
  t->container_copy = ContainerCopy;
  t->container_get = ContainerGet;
  t->container_set = ContainerSet;
  t->container_remove = ContainerRemove;
  t->container_count = ContainerCount;
  t->container_get_index = ContainerGetIndex;
  t->container_get_container_instance = ContainerGetContainerInstance;
}

}  // namespace standin
