#include "selection.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "document.h"
#include "host_impl.h"
#include "node.h"

namespace standin {

void SelectionIndex::Update(GmNode* node) {
  const bool selected = IsObject(node) && (node->bits & kBitActive) != 0;
  if (selected == (node->selected_slot != 0)) return;
  if (selected) {
    selected_.push_back(node);
    node->selected_slot = static_cast<uint32_t>(selected_.size());
  } else {
    Forget(node);
  }
}

void SelectionIndex::Forget(GmNode* node) {
  if (node->selected_slot == 0) return;
  GmNode* last = selected_.back();
  selected_[node->selected_slot - 1] = last;
  last->selected_slot = node->selected_slot;
  selected_.pop_back();
  node->selected_slot = 0;
}

void WriteBits(HostImpl& host, GmNode* node, int32_t bits) {
  const int32_t changed = node->bits ^ bits;
  node->bits = bits;
  if (changed & kBitActive) host.selection.Update(node);
}

void SetAllBits(HostImpl& host, GmNode* node, int32_t bits) {
  if (!(node->bits & kBitActive) && (bits & kBitActive)) node->stamp = ++host.last_stamp;
  WriteBits(host, node, bits);
}

std::vector<GmNode*> ActiveObjects(const HostImpl& host, const GmDoc* doc, int32_t flags) {
  std::vector<GmNode*> out;
  for (GmNode* n : host.selection.Selected())
    if (DocOf(n) == doc) out.push_back(n);
  if (!(flags & kActiveChildren)) {
    // A selected object below a selected ancestor is not listed. Each climb stops at an ancestor
    // whose answer is known, so many selected objects deep in one hierarchy climb it once.
    std::unordered_map<const GmNode*, bool> known;  // whether a selected object lies above
    std::vector<const GmNode*> path;
    auto below_selected = [&](const GmNode* n) {
      bool answer = false;
      path.clear();
      for (const GmNode* p = n->up; p; p = p->up) {
        auto it = known.find(p);
        if (it != known.end()) {
          answer = it->second || (p->bits & kBitActive);
          break;
        }
        if (p->bits & kBitActive) {
          answer = true;
          break;
        }
        path.push_back(p);
      }
      // Every object passed has no selected object between it and where the climb stopped.
      for (const GmNode* p : path) known.emplace(p, answer);
      return answer;
    };
    out.erase(std::remove_if(out.begin(), out.end(), below_selected), out.end());
  }
  SortInDocumentOrder(out, (flags & kActiveSelectionOrder) != 0);
  return out;
}

GmNode* ActiveObject(const HostImpl& host, const GmDoc* doc) {
  GmNode* best = nullptr;
  for (GmNode* n : host.selection.Selected()) {
    if (DocOf(n) != doc) continue;
    if (!best || n->stamp > best->stamp || (n->stamp == best->stamp && InDocumentOrder(n, best)))
      best = n;
  }
  return best;
}

}  // namespace standin
