#include "node.h"

#include <algorithm>

#include "document.h"
#include "host_impl.h"

namespace standin {

bool IsObjectType(int32_t type) { return type != kTagType && type != 0; }
bool IsObject(const GmNode* n) { return n && IsObjectType(n->type); }
bool IsTag(const GmNode* n) { return n && n->type == kTagType; }

bool HasInstanceParameters(const GmNode* n) {
  return n && (n->type == kOinstance || n->type == kOinstanceDerived);
}

bool IsInstanceOf(const GmNode* n, int32_t type) {
  if (!n) return false;
  if (type == 0) return true;
  if (type == kObase) return IsObject(n);
  if (type == kOinstance) return HasInstanceParameters(n);
  return n->type == type;
}

GmNode* NewNode(HostImpl& host, int32_t type, Marker marker) {
  auto* n = new GmNode;
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

static void FreeTree(HostImpl& host, GmNode* node) {
  for (GmNode* t : node->tags) {
    host.registry.Remove(t->marker);
    delete t;
  }
  GmNode* c = node->down;
  while (c) {
    GmNode* next = c->next;
    FreeTree(host, c);
    c = next;
  }
  host.registry.Remove(node->marker);
  delete node;
}

void FreeNode(HostImpl& host, GmNode* node) {
  if (!node) return;
  if (IsTag(node)) {
    if (node->owner) {
      auto& tags = node->owner->tags;
      tags.erase(std::remove(tags.begin(), tags.end(), node), tags.end());
    }
    host.registry.Remove(node->marker);
    delete node;
    return;
  }
  Unlink(node);
  FreeTree(host, node);
}

static void CopyOwn(HostImpl& host, GmNode* dst, const GmNode* src) {
  dst->name = src->name;
  dst->bits = src->bits;
  dst->stamp = (src->bits & kBitActive) ? ++host.last_stamp : 0;
  dst->ml = src->ml;
  dst->link = src->link;
  dst->mode = src->mode;
  if (src->data) dst->data = CopyContainer(*src->data);
  for (const GmNode* t : src->tags) {
    GmNode* c = NewTag(host, dst, t->name);
    c->bits = t->bits;
    if (t->data) c->data = CopyContainer(*t->data);
  }
}

GmNode* CloneNode(HostImpl& host, const GmNode* src, bool children) {
  if (IsTag(src)) {
    GmNode* t = NewNode(host, kTagType);
    t->name = src->name;
    t->bits = src->bits;
    if (src->data) t->data = CopyContainer(*src->data);
    return t;
  }
  GmNode* dst = NewNode(host, src->type);
  CopyOwn(host, dst, src);
  if (children) {
    for (const GmNode* c = src->down; c; c = c->next) LinkUnderLast(CloneNode(host, c, true), dst);
  }
  return dst;
}

GmContainer* DataOf(GmNode* n) {
  if (!n->data) n->data = std::make_unique<GmContainer>();
  return n->data.get();
}

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

bool SetParameter(GmNode* n, int32_t id, const GmValue& value) {
  if (!HasInstanceParameters(n)) return false;
  if (id == kInstanceLink) {
    if (value.type == GM_VALUE_LINK) {
      n->link = value.marker;
      return true;
    }
    if (value.type == GM_VALUE_NONE) {
      n->link = 0;
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

NodeState CaptureOwn(const GmNode* n) {
  NodeState s;
  s.type = n->type;
  s.name = n->name;
  s.bits = n->bits;
  s.stamp = n->stamp;
  s.ml = n->ml;
  s.link = n->link;
  s.mode = n->mode;
  if (n->data) s.data = CopyContainer(*n->data);
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
  n->bits = s.bits;
  n->stamp = s.stamp;
  n->ml = s.ml;
  n->link = s.link;
  n->mode = s.mode;
  n->data = s.data ? CopyContainer(*s.data) : nullptr;

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
    t->data = ts.data ? CopyContainer(*ts.data) : nullptr;
    tags.push_back(t);
  }
  for (GmNode* t : n->tags) {
    if (std::find(tags.begin(), tags.end(), t) == tags.end()) {
      host.registry.Remove(t->marker);
      delete t;
    }
  }
  n->tags = std::move(tags);
}

}  // namespace standin
