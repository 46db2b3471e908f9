#include "selection.h"

#include <algorithm>

#include "document.h"
#include "host_impl.h"
#include "node.h"

namespace standin {

void SetAllBits(HostImpl& host, GmNode* node, int32_t bits) {
  if (!(node->bits & kBitActive) && (bits & kBitActive)) node->stamp = ++host.last_stamp;
  node->bits = bits;
}

std::vector<GmNode*> ActiveObjects(const GmDoc* doc, int32_t flags) {
  std::vector<GmNode*> out;
  const bool children = (flags & kActiveChildren) != 0;
  GmNode* n = doc->first;
  while (n) {
    if (n->bits & kBitActive) {
      out.push_back(n);
      if (!children) {
        // Skip the subtree: a selected object below a selected ancestor is not listed.
        while (!n->next && n->up) n = n->up;
        n = n->next;
        continue;
      }
    }
    n = NextInTree(n);
  }
  if (flags & kActiveSelectionOrder) {
    std::stable_sort(out.begin(), out.end(),
                     [](const GmNode* a, const GmNode* b) { return a->stamp < b->stamp; });
  }
  return out;
}

GmNode* ActiveObject(const GmDoc* doc) {
  GmNode* best = nullptr;
  for (GmNode* n = doc->first; n; n = NextInTree(n)) {
    if ((n->bits & kBitActive) && (!best || n->stamp > best->stamp)) best = n;
  }
  return best;
}

}  // namespace standin
