#include "link_registry.h"

#include "document.h"
#include "node.h"

namespace standin {

void LinkRegistry::Add(GmNode* node) { nodes_[node->marker] = node; }

void LinkRegistry::Remove(Marker m) { nodes_.erase(m); }

GmNode* LinkRegistry::Find(Marker m) const {
  if (m == 0) return nullptr;
  auto it = nodes_.find(m);
  return it == nodes_.end() ? nullptr : it->second;
}

GmNode* Resolve(const LinkRegistry& reg, Marker m, GmDoc* doc, int32_t instance_of) {
  GmNode* node = reg.Find(m);
  if (!node) return nullptr;
  if (doc && DocOf(node) != doc) return nullptr;
  if (instance_of != 0 && !IsInstanceOf(node, instance_of)) return nullptr;
  return node;
}

}  // namespace standin
