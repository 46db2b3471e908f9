// Nodes: objects and tags (see node.h): the table's entries of a node's own and the object_*
// entries, and Host's methods on a node's own data.
#include "node.h"

#include <algorithm>
#include <new>

#include "api_table.h"
#include "document.h"
#include "host_impl.h"

namespace standin {

// Under AddressSanitizer every node is its own allocation, so a use after free is caught at once
// instead of landing in a recycled slot.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kNodesOneByOne = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kNodesOneByOne = true;
#else
constexpr bool kNodesOneByOne = false;
#endif
#else
constexpr bool kNodesOneByOne = false;
#endif

std::string Describe(const GmNode* n) {
  return "#" + std::to_string(n->marker) + " \"" + n->name + "\"";
}

GmNode* NodePool::Make() {
  if constexpr (kNodesOneByOne) return new GmNode;
  Slot* slot = free_;
  if (slot) {
    free_ = slot->next_free;
  } else {
    if (blocks_.empty() || used_ == block_size_) {
      block_size_ = blocks_.empty() ? kFirstBlock : std::min(block_size_ * 2, kLargestBlock);
      blocks_.emplace_back(new Slot[block_size_]);
      used_ = 0;
    }
    slot = &blocks_.back()[used_++];
  }
  return new (slot->bytes) GmNode;
}

void NodePool::Destroy(GmNode* node) {
  if constexpr (kNodesOneByOne) {
    delete node;
    return;
  }
  node->~GmNode();
  Slot* slot = reinterpret_cast<Slot*>(node);
  slot->next_free = free_;
  free_ = slot;
}

GmNode* NewNode(HostImpl& host, int32_t type, Marker marker) {
  GmNode* n = host.nodes.Make();
  n->type = type;
  n->marker = marker ? marker : host.registry.Issue();
  n->ml = IdentityMatrix();
  host.registry.Add(n);
  return n;
}

GmNode* NewTag(HostImpl& host, GmNode* object, const std::string& name, Marker marker) {
  GmNode* t = NewNode(host, kTagType, marker);
  t->name = name;
  t->owner = object;
  object->tags.push_back(t);
  return t;
}

// Frees a detached subtree, children before their parents.
static void FreeTree(HostImpl& host, GmNode* root) {
  std::vector<GmNode*> nodes;
  size_t depth = 0;
  for (GmNode* n = root; n; n = NextInSubtree(n, root, depth)) nodes.push_back(n);
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
    GmNode* node = *it;
    for (GmNode* t : node->tags) {
      host.links.Forget(t);
      host.registry.Remove(t->marker);
      host.nodes.Destroy(t);
    }
    host.selection.Forget(node);
    host.links.Forget(node);
    host.registry.Remove(node->marker);
    host.nodes.Destroy(node);
  }
}

void FreeNode(HostImpl& host, GmNode* node) {
  if (!node) return;
  if (IsTag(node)) {
    if (node->owner) {
      auto& tags = node->owner->tags;
      tags.erase(std::remove(tags.begin(), tags.end(), node), tags.end());
    }
    host.links.Forget(node);
    host.registry.Remove(node->marker);
    host.nodes.Destroy(node);
    return;
  }
  Unlink(node);
  FreeTree(host, node);
}

// Gives `n` a copy of `src` as its data (or none).
static void CopyData(HostImpl& host, GmNode* n, const GmContainer* src) {
  n->data = src ? CopyContainer(*src) : nullptr;
  if (n->data) NoteData(host, n, *n->data);
}

static void CopyOwn(HostImpl& host, GmNode* dst, const GmNode* src) {
  dst->name = src->name;
  dst->stamp = (src->bits & kBitActive) ? ++host.last_stamp : 0;
  WriteBits(host, dst, src->bits);
  dst->ml = src->ml;
  host.links.SetLink(dst, src->link);
  dst->mode = src->mode;
  dst->bounds_mode = src->bounds_mode;
  CopyData(host, dst, src->data.get());
  for (const GmNode* t : src->tags) {
    GmNode* c = NewTag(host, dst, t->name);
    c->bits = t->bits;
    CopyData(host, c, t->data.get());
  }
}

GmNode* CloneNode(HostImpl& host, const GmNode* src, bool children) {
  if (IsTag(src)) {
    GmNode* t = NewNode(host, kTagType);
    t->name = src->name;
    t->bits = src->bits;
    CopyData(host, t, src->data.get());
    return t;
  }
  GmNode* dst = NewNode(host, src->type);
  CopyOwn(host, dst, src);
  if (!children) return dst;
  // The copies are made in document order; parents[d] is the copy of the current object at depth d.
  std::vector<GmNode*> parents{dst};
  size_t depth = 0;
  for (const GmNode* s = NextInSubtree(src, src, depth); s; s = NextInSubtree(s, src, depth)) {
    GmNode* copy = NewNode(host, s->type);
    CopyOwn(host, copy, s);
    parents.resize(depth);
    LinkUnderLast(copy, parents.back());
    parents.push_back(copy);
  }
  return dst;
}

GmContainer* DataOf(GmNode* n) {
  if (!n->data) {
    n->data = std::make_unique<GmContainer>();
    n->data->owner = n;
  }
  return n->data.get();
}

void NoteData(HostImpl& host, GmNode* n, GmContainer& c) {
  c.owner = n;
  if (AdoptInner(c, n)) host.links.AddHolder(n);
}

bool DataLinksTo(const GmNode* n, Marker m) { return n->data && HasLink(*n->data, m); }

bool GetParameter(const GmNode* n, int32_t id, GmValue* out) {
  if (!HasInstanceParameters(n)) return false;
  *out = GmValue{};
  if (id == kInstanceLink) {
    out->type = GM_VALUE_LINK;
    out->marker = n->link;
    return true;
  }
  if (id == kInstanceMode) {
    out->type = GM_VALUE_LONG;
    out->i32 = n->mode;
    return true;
  }
  return false;
}

bool SetParameter(HostImpl& host, GmNode* n, int32_t id, const GmValue& value) {
  if (!HasInstanceParameters(n)) return false;
  if (id == kInstanceLink) {
    if (value.type == GM_VALUE_LINK) {
      host.links.SetLink(n, value.marker);
      return true;
    }
    if (value.type == GM_VALUE_NONE) {
      host.links.SetLink(n, 0);
      return true;
    }
    return false;
  }
  if (id == kInstanceMode && value.type == GM_VALUE_LONG) {
    n->mode = value.i32;
    return true;
  }
  return false;
}

NodeState CaptureOwn(const GmNode* n, bool with_tags) {
  NodeState s;
  s.with_tags = with_tags;
  s.type = n->type;
  s.name = n->name;
  s.bits = n->bits;
  s.stamp = n->stamp;
  s.ml = n->ml;
  s.link = n->link;
  s.mode = n->mode;
  if (n->data) s.data = CopyContainer(*n->data);
  if (!with_tags) return s;
  for (const GmNode* t : n->tags) {
    TagState ts;
    ts.marker = t->marker;
    ts.name = t->name;
    ts.bits = t->bits;
    if (t->data) ts.data = CopyContainer(*t->data);
    s.tags.push_back(std::move(ts));
  }
  return s;
}

void RestoreOwn(HostImpl& host, GmNode* n, const NodeState& s) {
  n->name = s.name;
  n->stamp = s.stamp;
  WriteBits(host, n, s.bits);
  n->ml = s.ml;
  host.links.SetLink(n, s.link);
  n->mode = s.mode;
  n->bounds_mode = s.mode;
  CopyData(host, n, s.data.get());
  if (!s.with_tags) return;

  // Tags: keep the captured ones (same identity), drop the others.
  std::vector<GmNode*> tags;
  for (const TagState& ts : s.tags) {
    GmNode* t = host.registry.Find(ts.marker);
    if (t && IsTag(t)) {
      if (t->owner && t->owner != n) {
        auto& old = t->owner->tags;
        old.erase(std::remove(old.begin(), old.end(), t), old.end());
      }
    } else {
      t = NewNode(host, kTagType, ts.marker);
    }
    t->owner = n;
    t->name = ts.name;
    t->bits = ts.bits;
    CopyData(host, t, ts.data.get());
    tags.push_back(t);
  }
  for (GmNode* t : n->tags) {
    if (std::find(tags.begin(), tags.end(), t) == tags.end()) {
      host.links.Forget(t);
      host.registry.Remove(t->marker);
      host.nodes.Destroy(t);
    }
  }
  n->tags = std::move(tags);
}

// ---- the table's entries ----

namespace {

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

GmBool NodeMessage(GmNode* n, int32_t type, void*) {
  if (n && type == kMsgUpdate) n->bounds_mode = n->mode;
  return 1;
}

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

GmContainer* NodeGetDataInstance(GmNode* n) { return n ? DataOf(n) : nullptr; }

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

}  // namespace

void FillNodeApi(GmHostApi* t) {
  t->node_get_type = NodeGetType;
  t->node_is_instance_of = NodeIsInstanceOf;
  t->node_marker = NodeMarker;
  t->node_marker_memory = NodeMarkerMemory;
  t->node_get_clone = NodeGetClone;
  t->node_get_parameter = NodeGetParameter;
  t->node_set_parameter = NodeSetParameter;
  t->node_message = NodeMessage;
  t->node_get_name = NodeGetName;
  t->node_set_name = NodeSetName;
  t->node_get_data_instance = NodeGetDataInstance;
  t->object_alloc = ObjectAlloc;
  t->object_free = ObjectFree;
  t->object_get_ml = ObjectGetMl;
  t->object_set_ml = ObjectSetMl;
}

// ---- Host: objects and tags ----

GmNode* Host::AddTag(GmNode* object, const std::string& name) {
  return NewTag(*impl_, object, name);
}

void Host::SetMode(GmNode* instance, int32_t mode) {
  instance->mode = mode;
  instance->bounds_mode = mode;
}
void Host::SetMatrix(GmNode* object, const GmMatrix& m) { object->ml = m; }
void Host::SetName(GmNode* node, const std::string& name) { node->name = name; }

void Host::SetDataElement(GmNode* node, int32_t id, const ValueData& value) {
  GmContainer* data = DataOf(node);
  SetElement(*data, id, FromData(value));
  NoteData(*impl_, node, *data);
}

void Host::RemoveDataElement(GmNode* node, int32_t id) {
  if (node->data) RemoveElement(*node->data, id);
}

void Host::Delete(GmNode* object) { FreeNode(*impl_, object); }
Marker Host::MarkerOf(const GmNode* node) { return node ? node->marker : 0; }
std::vector<GmNode*> Host::Tags(GmNode* object) const { return object->tags; }
std::string Host::Name(const GmNode* node) const { return node->name; }
int32_t Host::Type(const GmNode* node) const { return node->type; }
int32_t Host::Mode(const GmNode* instance) const { return instance->mode; }
GmMatrix Host::Matrix(const GmNode* object) const { return object->ml; }

ContainerData Host::Data(const GmNode* node) const {
  return node->data ? ToData(*node->data) : ContainerData{};
}

size_t Host::LiveNodes() const { return impl_->registry.Size(); }

size_t Host::DetachedNodes() const {
  size_t count = 0;
  impl_->registry.ForEach([&](GmNode* n) {
    if (IsObject(n) && !n->up && !n->doc && !n->undo_held) ++count;
  });
  return count;
}

GmMatrix IdentityMatrix() {
  GmMatrix m{};
  m.v1[0] = m.v2[1] = m.v3[2] = 1;
  return m;
}

GmMatrix TranslationMatrix(double x, double y, double z) {
  GmMatrix m = IdentityMatrix();
  m.off[0] = x;
  m.off[1] = y;
  m.off[2] = z;
  return m;
}

}  // namespace standin

bool operator==(const GmMatrix& a, const GmMatrix& b) {
  for (int i = 0; i < 3; ++i) {
    if (a.off[i] != b.off[i] || a.v1[i] != b.v1[i] || a.v2[i] != b.v2[i] || a.v3[i] != b.v3[i])
      return false;
  }
  return true;
}
