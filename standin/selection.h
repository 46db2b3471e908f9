// Selection: BIT_ACTIVE, the selection stamps and the active-object queries. Fills the
// doc_get_active_* entries of the table, the node bits entries and the array_* entries (the
// arrays the active-object queries fill).
//
// The host keeps every object whose BIT_ACTIVE is set in a list (GmNode::selected_slot is its place
// there), so the queries cost what the selection holds, not what the document holds: the list is
// narrowed to the document, then put in document order (or selection order) by comparing places.
#ifndef GEMLITH_STANDIN_SELECTION_H
#define GEMLITH_STANDIN_SELECTION_H

#include <cstdint>
#include <vector>

#include "gemlith_api.h"

namespace standin {

constexpr int32_t kBitActive = 2;

constexpr int32_t kActiveChildren = 1;        // GETACTIVEOBJECTFLAGS::CHILDREN
constexpr int32_t kActiveSelectionOrder = 2;  // GETACTIVEOBJECTFLAGS::SELECTIONORDER

class HostImpl;

class SelectionIndex {
 public:
  void Update(GmNode* node);  // after node->bits changed
  void Forget(GmNode* node);  // before the node is freed
  const std::vector<GmNode*>& Selected() const { return selected_; }

 private:
  std::vector<GmNode*> selected_;
};

// Writes the bit word as it is (no stamp), keeping the selection list in step. Every change of an
// object's bits goes through here.
void WriteBits(HostImpl& host, GmNode* node, int32_t bits);
// Writes the bit word; a BIT_ACTIVE that goes from clear to set gets the next stamp.
void SetAllBits(HostImpl& host, GmNode* node, int32_t bits);

// flags: kActiveChildren (else the topmost selected objects only), kActiveSelectionOrder (else
// document order; selection order is by stamp, document order among equal stamps).
std::vector<GmNode*> ActiveObjects(const HostImpl& host, const GmDoc* doc, int32_t flags);
// The selected object with the highest stamp (the first in document order among equals), or null.
GmNode* ActiveObject(const HostImpl& host, const GmDoc* doc);

// doc_get_active_objects, doc_get_active_objects_filter, doc_get_active_object,
// node_get_all_bits, node_set_all_bits and the array_* entries.
void FillSelectionApi(GmHostApi* t);

}  // namespace standin

struct GmArray {
  std::vector<GmNode*> nodes;
};

#endif  // GEMLITH_STANDIN_SELECTION_H
