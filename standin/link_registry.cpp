#include "link_registry.h"

#include <algorithm>

#include "document.h"
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

}  // namespace standin
