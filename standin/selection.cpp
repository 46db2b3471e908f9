// Selection and the active-object queries (see selection.h): the doc_get_active_*, node bits and
// array_* entries of the table and Host's selection methods.
#include "selection.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "api_table.h"
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

// ---- the table's entries ----

namespace {

void DocGetActiveObjects(GmDoc* doc, GmArray* out, int32_t flags) {
  NEED_HOST();
  if (!KnownDoc(doc, "GetActiveObjects")) return;
  NEED(out, , "GetActiveObjects without an array");
  out->nodes = ActiveObjects(H(), doc, flags);
}

void DocGetActiveObjectsFilter(GmDoc* doc, GmArray* out, GmBool children, int32_t type,
                               int32_t instance_of) {
  NEED_HOST();
  if (!KnownDoc(doc, "GetActiveObjectsFilter")) return;
  NEED(out, , "GetActiveObjectsFilter without an array");
  out->nodes.clear();
  for (GmNode* n : ActiveObjects(H(), doc, children ? kActiveChildren : 0)) {
    if ((type == -1 || n->type == type) && IsInstanceOf(n, instance_of)) out->nodes.push_back(n);
  }
}

GmNode* DocGetActiveObject(GmDoc* doc) {
  NEED_HOST(nullptr);
  if (!KnownDoc(doc, "GetActiveObject")) return nullptr;
  return ActiveObject(H(), doc);
}

int32_t NodeGetAllBits(const GmNode* n) { return n ? n->bits : 0; }

void NodeSetAllBits(GmNode* n, int32_t bits) {
  NEED_HOST();
  if (n) SetAllBits(H(), n, bits);
}

// ---- atom arrays ----
GmArray* ArrayAlloc() {
  NEED_HOST(nullptr);
  if (H().faults.Consume(Alloc::Array)) return nullptr;
  return new GmArray;
}
void ArrayFree(GmArray* a) { delete a; }
int32_t ArrayCount(const GmArray* a) { return a ? static_cast<int32_t>(a->nodes.size()) : 0; }
GmNode* ArrayIndex(const GmArray* a, int32_t i) {
  if (!a || i < 0 || i >= static_cast<int32_t>(a->nodes.size())) return nullptr;
  return a->nodes[static_cast<size_t>(i)];
}
GmBool ArrayAppend(GmArray* a, GmNode* n) {
  if (!a || !n) return 0;
  a->nodes.push_back(n);
  return 1;
}
GmBool ArrayRemove(GmArray* a, GmNode* n) {
  if (!a) return 0;
  auto it = std::find(a->nodes.begin(), a->nodes.end(), n);
  if (it == a->nodes.end()) return 0;
  a->nodes.erase(it);
  return 1;
}
void ArrayFilterObject(GmArray* a, int32_t type, int32_t instance_of) {
  if (!a) return;
  auto keep = [&](const GmNode* n) {
    return IsObject(n) && (type == -1 || n->type == type) && IsInstanceOf(n, instance_of);
  };
  a->nodes.erase(std::remove_if(a->nodes.begin(), a->nodes.end(),
                                [&](const GmNode* n) { return !keep(n); }),
                 a->nodes.end());
}

}  // namespace

void FillSelectionApi(GmHostApi* t) {
  t->doc_get_active_objects = DocGetActiveObjects;
  t->doc_get_active_objects_filter = DocGetActiveObjectsFilter;
  t->doc_get_active_object = DocGetActiveObject;
  t->node_get_all_bits = NodeGetAllBits;
  t->node_set_all_bits = NodeSetAllBits;
  t->array_alloc = ArrayAlloc;
  t->array_free = ArrayFree;
  t->array_count = ArrayCount;
  t->array_index = ArrayIndex;
  t->array_append = ArrayAppend;
  t->array_remove = ArrayRemove;
  t->array_filter_object = ArrayFilterObject;
}

// ---- Host: the selection ----

void Host::SetBits(GmNode* object, int32_t bits) { SetAllBits(*impl_, object, bits); }

void Host::Select(const std::vector<GmNode*>& in_order, GmDoc* doc) {
  if (!doc) doc = impl_->Active();
  for (GmNode* n : ActiveObjects(*impl_, doc, kActiveChildren))
    WriteBits(*impl_, n, n->bits & ~kBitActive);
  for (GmNode* n : in_order) SetAllBits(*impl_, n, n->bits | kBitActive);
}

std::vector<GmNode*> Host::Selection(GmDoc* doc) const {
  return ActiveObjects(*impl_, doc ? doc : impl_->Active(),
                       kActiveChildren | kActiveSelectionOrder);
}

int32_t Host::Bits(const GmNode* node) const { return node->bits; }
bool Host::IsSelected(const GmNode* node) const { return (node->bits & kBitActive) != 0; }

}  // namespace standin
