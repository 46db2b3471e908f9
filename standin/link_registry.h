// The registry of live nodes by marker: what makes a link resolve.
//
// A link holds a marker only. Resolving it is one hash look-up here, followed by the document and
// type checks; a freed node leaves the registry, so every link to it dies at once, and an undo that
// rebuilds the node under the same marker brings those links back.
#ifndef GEMLITH_STANDIN_LINK_REGISTRY_H
#define GEMLITH_STANDIN_LINK_REGISTRY_H

#include <unordered_map>

#include "standin/host.h"

namespace standin {

class LinkRegistry {
 public:
  // A marker never handed out before.
  Marker Issue() { return ++last_; }
  void Add(GmNode* node);
  void Remove(Marker m);
  GmNode* Find(Marker m) const;
  size_t Size() const { return nodes_.size(); }
  template <class Fn>
  void ForEach(Fn fn) const {
    for (const auto& e : nodes_) fn(e.second);
  }

 private:
  Marker last_ = 0;
  std::unordered_map<Marker, GmNode*> nodes_;
};

// The live node with this marker when it lies in `doc` (null: any document, or none) and is an
// instance of `instance_of` (0: any node), else null.
GmNode* Resolve(const LinkRegistry& reg, Marker m, GmDoc* doc, int32_t instance_of);

}  // namespace standin

struct GmLink {
  standin::Marker marker = 0;
};

#endif  // GEMLITH_STANDIN_LINK_REGISTRY_H
