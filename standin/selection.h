// Selection: BIT_ACTIVE, the selection stamps and the active-object queries.
#ifndef GEMLITH_STANDIN_SELECTION_H
#define GEMLITH_STANDIN_SELECTION_H

#include <vector>

#include "standin/host.h"

namespace standin {

class HostImpl;

// Writes the bit word; a BIT_ACTIVE that goes from clear to set gets the next stamp.
void SetAllBits(HostImpl& host, GmNode* node, int32_t bits);

// flags: kActiveChildren (else the topmost selected objects only), kActiveSelectionOrder (else
// document order).
std::vector<GmNode*> ActiveObjects(const GmDoc* doc, int32_t flags);
// The selected object with the highest stamp, or null.
GmNode* ActiveObject(const GmDoc* doc);

}  // namespace standin

struct GmArray {
  std::vector<GmNode*> nodes;
};

#endif  // GEMLITH_STANDIN_SELECTION_H
