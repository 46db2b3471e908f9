// Links and their transfer: the registry of live nodes by marker, what makes a link resolve; and
// the index of who links to whom, which lets TransferGoal visit only the objects that hold a link
// instead of the document. Fills the link_* entries of the table and node_transfer_goal.
//
// A link holds a marker only. Markers are handed out in order and never reused, so the registry is
// a table indexed by marker: resolving a link is one look-up there, followed by the document and
// type checks. A freed node leaves the registry, so every link to it dies at once, and an undo that
// rebuilds the node under the same marker brings those links back.
#ifndef GEMLITH_STANDIN_LINK_H
#define GEMLITH_STANDIN_LINK_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gemlith_api.h"

namespace standin {

// A node's identity: 64 bits, never 0, never reused, kept through undo and redo. Links hold it.
using Marker = uint64_t;

class LinkRegistry {
 public:
  // A marker never handed out before.
  Marker Issue() { return ++last_; }
  // Registers the node under its marker (one handed out by Issue, or a node's earlier marker).
  void Add(GmNode* node);
  void Remove(Marker m);
  GmNode* Find(Marker m) const { return m < nodes_.size() ? nodes_[m] : nullptr; }
  size_t Size() const { return live_; }
  template <class Fn>
  void ForEach(Fn fn) const {
    for (GmNode* n : nodes_)
      if (n) fn(n);
  }

 private:
  Marker last_ = 0;
  size_t live_ = 0;
  std::vector<GmNode*> nodes_;  // by marker; null where the marker is not alive
};

// The live node with this marker when it lies in `doc` (null: any document, or none) and is an
// instance of `instance_of` (0: any node), else null.
GmNode* Resolve(const LinkRegistry& reg, Marker m, GmDoc* doc, int32_t instance_of);

// Who links to what. Two kinds of holders:
//  - a node's instance link (GmNode::link): every node whose link names a marker sits in that
//    marker's list (threaded through the nodes themselves), so the nodes linking to an object are
//    found without a search;
//  - link elements in data containers (own or of a tag): every node whose data may hold one is in
//    a set. Every way a link gets into a node's container adds the node; TransferGoal checks each
//    member's containers and drops the members that turn out to hold none.
// The index follows the nodes alive, wherever they are; freeing a node takes it out.
class LinkIndex {
 public:
  // Sets n->link and files the node under its new target.
  void SetLink(GmNode* n, Marker target);
  // The first node whose link names `target` (the others follow through GmNode::link_next).
  GmNode* FirstLinking(Marker target) const;

  // The node's data (or a tag's data) may now hold a link element.
  void AddHolder(GmNode* n);
  void RemoveHolder(GmNode* n);
  const std::vector<GmNode*>& Holders() const { return holders_; }

  // Takes a node about to be freed out of both indexes.
  void Forget(GmNode* n);

 private:
  void Unfile(GmNode* n);
  std::unordered_map<Marker, GmNode*> heads_;
  std::vector<GmNode*> holders_;  // GmNode::holder_slot is 1 + the index here
};

class HostImpl;

// The objects of source's document that hold a link to `source`: whose instance link names it, or
// whose data (or a tag's data) holds a link element naming it; each once, in document order. These
// are what TransferLinks changes. Empty when source lies in no document.
std::vector<GmNode*> LinkHolders(HostImpl& h, const GmNode* source);

// BaseList2D::TransferGoal: every link held in source's document that names `source` names
// `target` instead. Records nothing for undo.
void TransferLinks(HostImpl& h, const GmNode* source, const GmNode* target);

// The link_* entries and node_transfer_goal.
void FillLinkApi(GmHostApi* t);

}  // namespace standin

struct GmLink {
  standin::Marker marker = 0;
};

#endif  // GEMLITH_STANDIN_LINK_H
