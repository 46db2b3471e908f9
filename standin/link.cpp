// Links and their transfer (see link.h): the link_* entries of the table, node_transfer_goal, and
// Host's link methods.
#include "link.h"

#include <algorithm>

#include "api_table.h"
#include "container.h"
#include "document.h"
#include "host_impl.h"
#include "node.h"

namespace standin {

void LinkRegistry::Add(GmNode* node) {
  const Marker m = node->marker;
  if (m >= nodes_.size()) nodes_.resize(std::max<size_t>(m + 1, nodes_.size() * 2), nullptr);
  if (!nodes_[m]) ++live_;
  nodes_[m] = node;
  if (m > last_) last_ = m;  // never hand out a marker that is in use
}

void LinkRegistry::Remove(Marker m) {
  if (m < nodes_.size() && nodes_[m]) {
    nodes_[m] = nullptr;
    --live_;
  }
}

GmNode* Resolve(const LinkRegistry& reg, Marker m, GmDoc* doc, int32_t instance_of) {
  GmNode* node = reg.Find(m);
  if (!node) return nullptr;
  if (doc && DocOf(node) != doc) return nullptr;
  if (instance_of != 0 && !IsInstanceOf(node, instance_of)) return nullptr;
  return node;
}

void LinkIndex::SetLink(GmNode* n, Marker target) {
  if (n->link == target) return;
  Unfile(n);
  n->link = target;
  if (target == 0) return;
  GmNode*& head = heads_[target];
  n->link_prev = nullptr;
  n->link_next = head;
  if (head) head->link_prev = n;
  head = n;
}

GmNode* LinkIndex::FirstLinking(Marker target) const {
  auto it = heads_.find(target);
  return it == heads_.end() ? nullptr : it->second;
}

void LinkIndex::Unfile(GmNode* n) {
  if (n->link == 0) return;
  if (n->link_next) n->link_next->link_prev = n->link_prev;
  if (n->link_prev) {
    n->link_prev->link_next = n->link_next;
  } else {
    auto it = heads_.find(n->link);
    if (it != heads_.end()) {
      if (n->link_next)
        it->second = n->link_next;
      else
        heads_.erase(it);
    }
  }
  n->link_prev = n->link_next = nullptr;
}

void LinkIndex::AddHolder(GmNode* n) {
  if (n->holder_slot != 0) return;
  holders_.push_back(n);
  n->holder_slot = static_cast<uint32_t>(holders_.size());
}

void LinkIndex::RemoveHolder(GmNode* n) {
  if (n->holder_slot == 0) return;
  GmNode* last = holders_.back();
  holders_[n->holder_slot - 1] = last;
  last->holder_slot = n->holder_slot;
  holders_.pop_back();
  n->holder_slot = 0;
}

void LinkIndex::Forget(GmNode* n) {
  Unfile(n);
  RemoveHolder(n);
}

std::vector<GmNode*> LinkHolders(HostImpl& h, const GmNode* source) {
  std::vector<GmNode*> hits;
  GmDoc* doc = DocOf(source);
  if (!doc) return hits;
  const Marker from = source->marker;
  // Found through the index rather than by walking the document: the instances whose link names
  // the source, and the holders of link elements (an object through its own data or a tag's). A
  // holder whose containers turn out to hold no link at all leaves the set. Only the document is
  // searched: an object that undo holds keeps its links as they were when it left.
  for (GmNode* n = h.links.FirstLinking(from); n; n = n->link_next)
    if (HasInstanceParameters(n) && DocOf(n) == doc) hits.push_back(n);
  const std::vector<GmNode*> holders = h.links.Holders();
  for (GmNode* holder : holders) {
    if (!DataLinksTo(holder, 0)) {
      h.links.RemoveHolder(holder);
      continue;
    }
    GmNode* obj = IsTag(holder) ? holder->owner : holder;
    if (IsObject(obj) && DocOf(obj) == doc && DataLinksTo(holder, from)) hits.push_back(obj);
  }
  // Each object once, in document order, as a walk would meet them.
  SortInDocumentOrder(hits);
  hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
  return hits;
}

void TransferLinks(HostImpl& h, const GmNode* source, const GmNode* target) {
  const Marker from = source->marker;
  const Marker to = target->marker;
  auto redirect = [from, to](Marker& m) {
    if (m == from) m = to;
  };
  for (GmNode* obj : LinkHolders(h, source)) {
    if (HasInstanceParameters(obj) && obj->link == from) h.links.SetLink(obj, to);
    if (obj->data) ForEachLink(*obj->data, redirect);
    for (GmNode* t : obj->tags)
      if (t->data) ForEachLink(*t->data, redirect);
  }
}

// ---- the table's entries ----

namespace {

GmBool NodeTransferGoal(GmNode* source, GmNode* target, GmBool undo_links) {
  NEED_HOST(0);
  NEED(source && target, 0, "TransferGoal without a source or a target");
  // The application leaves undo links to itself: a caller records its own entries before.
  if (undo_links) H().CodingError("TransferGoal with undo links on: that argument must be false");
  if (!DocOf(source)) return 0;
  TransferLinks(H(), source, target);
  return 1;
}

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

}  // namespace

void FillLinkApi(GmHostApi* t) {
  t->node_transfer_goal = NodeTransferGoal;
  t->link_alloc = LinkAlloc;
  t->link_free = LinkFree;
  t->link_set = LinkSet;
  t->link_marker = LinkMarker;
  t->link_resolve = LinkResolve;
}

// ---- Host: links ----

void Host::SetLink(GmNode* instance, GmNode* target) {
  impl_->links.SetLink(instance, target ? target->marker : 0);
}
void Host::SetLinkMarker(GmNode* instance, Marker target) {
  impl_->links.SetLink(instance, target);
}
GmNode* Host::Find(Marker m) const { return impl_->registry.Find(m); }
Marker Host::LinkMarker(const GmNode* instance) const { return instance->link; }
GmNode* Host::LinkTarget(const GmNode* instance) const {
  return impl_->registry.Find(instance->link);
}
std::vector<GmNode*> Host::LinkHolders(const GmNode* node) { return standin::LinkHolders(*impl_, node); }

}  // namespace standin
