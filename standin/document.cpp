// Documents and the object tree (see document.h): the doc_get_first_object, doc_insert_object
// and tree node entries of the table, and Host's document, scene-building and tree methods.
#include "document.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "api_table.h"
#include "node.h"

namespace standin {

const GmNode* RootOf(const GmNode* node) {
  if (node->owner) node = node->owner;
  while (node->up) node = node->up;
  return node;
}

// Starts at 1, so that a new node's epoch 0 is never current.
uint64_t g_tree_epoch = 1;

GmDoc* FindDocOf(const GmNode* node) {
  if (!node) return nullptr;
  if (node->type == kTagType) {
    node = node->owner;  // a tag lies where its object lies
    if (!node) return nullptr;
  }
  if (node->doc_epoch == g_tree_epoch) return const_cast<GmDoc*>(node->doc_cache);
  // Climb to the root or to an ancestor that knows its document, and let every object passed on
  // the way remember the answer too: a walk down a deep hierarchy then climbs one level per
  // object, not all the way each time.
  const GmNode* top = node;
  while (top->up && top->doc_epoch != g_tree_epoch) top = top->up;
  GmDoc* doc = top->doc_epoch == g_tree_epoch ? const_cast<GmDoc*>(top->doc_cache) : top->doc;
  for (const GmNode* n = node;; n = n->up) {
    n->doc_cache = doc;
    n->doc_epoch = g_tree_epoch;
    if (n == top) break;
  }
  return doc;
}

bool InSubtree(const GmNode* node, const GmNode* root) {
  if (!root->down) return node == root;  // no climb from deep down to ask about a leaf
  for (const GmNode* n = node; n; n = n->up)
    if (n == root) return true;
  return false;
}

bool IsLinked(const GmNode* node) { return node->up != nullptr || node->doc != nullptr; }

namespace {

// Labels go up in steps of kLabelGap along a sibling list, starting at kLabelStart: a list can grow
// at either end and take about 32 insertions at one spot before it needs relabelling.
constexpr uint64_t kLabelGap = uint64_t{1} << 32;
constexpr uint64_t kLabelStart = uint64_t{1} << 62;

void Relabel(GmNode* first) {
  uint64_t count = 0;
  for (GmNode* n = first; n; n = n->next) ++count;
  const uint64_t step = std::min(kLabelGap, (uint64_t{1} << 63) / (count + 1));
  uint64_t label = kLabelStart;
  for (GmNode* n = first; n; n = n->next, label += step) n->order = label;
}

// Gives `node`, just spliced in, a label between its neighbours'.
void Label(GmNode* node, GmNode* first) {
  const GmNode* pred = node->pred;
  const GmNode* next = node->next;
  if (!pred && !next) {
    node->order = kLabelStart;
  } else if (!next) {
    if (pred->order <= UINT64_MAX - kLabelGap) node->order = pred->order + kLabelGap;
    else Relabel(first);
  } else if (!pred) {
    if (next->order >= kLabelGap) node->order = next->order - kLabelGap;
    else Relabel(first);
  } else if (next->order - pred->order >= 2) {
    node->order = pred->order + (next->order - pred->order) / 2;
  } else {
    Relabel(first);
  }
}

// Inserts `node` into the sibling list (first, last) after `pred` (null: at the front).
void Splice(GmNode* node, GmNode*& first, GmNode*& last, GmNode* pred) {
  ++g_tree_epoch;
  GmNode* next = pred ? pred->next : first;
  node->pred = pred;
  node->next = next;
  if (pred) pred->next = node; else first = node;
  if (next) next->pred = node; else last = node;
  Label(node, first);
}

int Depth(const GmNode* n) {
  int d = 0;
  for (; n->up; n = n->up) ++d;
  return d;
}

}  // namespace

void LinkInto(GmNode* node, GmDoc* doc, GmNode* parent, GmNode* pred) {
  if (pred) parent = pred->up;
  if (parent) {
    node->up = parent;
    node->doc = nullptr;
    Splice(node, parent->down, parent->down_last, pred);
  } else {
    if (pred && pred->doc) doc = pred->doc;
    node->up = nullptr;
    node->doc = doc;
    Splice(node, doc->first, doc->last, pred);
  }
}

void LinkUnderLast(GmNode* node, GmNode* parent) {
  node->up = parent;
  node->doc = nullptr;
  Splice(node, parent->down, parent->down_last, parent->down_last);
}

void LinkTopLast(GmNode* node, GmDoc* doc) {
  node->up = nullptr;
  node->doc = doc;
  Splice(node, doc->first, doc->last, doc->last);
}

void Unlink(GmNode* node) {
  GmNode** first = nullptr;
  GmNode** last = nullptr;
  if (node->up) {
    first = &node->up->down;
    last = &node->up->down_last;
  } else if (node->doc) {
    first = &node->doc->first;
    last = &node->doc->last;
  } else {
    return;
  }
  ++g_tree_epoch;
  if (node->pred) node->pred->next = node->next; else *first = node->next;
  if (node->next) node->next->pred = node->pred; else *last = node->pred;
  node->up = nullptr;
  node->doc = nullptr;
  node->next = nullptr;
  node->pred = nullptr;
}

GmNode* NextInTree(GmNode* node) {
  if (node->down) return node->down;
  while (!node->next && node->up) node = node->up;
  return node->next;
}

GmNode* NextInSubtree(const GmNode* node, const GmNode* root, size_t& depth) {
  if (node->down) {
    ++depth;
    return node->down;
  }
  for (; node != root; node = node->up, --depth)
    if (node->next) return node->next;
  return nullptr;
}

bool InDocumentOrder(const GmNode* a, const GmNode* b) {
  if (a == b) return false;
  int da = Depth(a), db = Depth(b);
  const GmNode* x = a;
  const GmNode* y = b;
  for (; da > db; --da) x = x->up;
  for (; db > da; --db) y = y->up;
  if (x == y) return x == a;  // one holds the other: the ancestor comes first
  while (x->up != y->up) {
    x = x->up;
    y = y->up;
  }
  return x->order < y->order;
}

// Sorts by the place in one walk of the document, for nodes too deep to compare by their labels.
static void SortByWalk(std::vector<GmNode*>& nodes, bool by_stamp, const GmDoc* doc) {
  std::unordered_map<const GmNode*, size_t> place;
  for (GmNode* n : nodes) place.emplace(n, 0);
  size_t index = 0;
  for (GmNode* n = doc->first; n; n = NextInTree(n), ++index) {
    auto it = place.find(n);
    if (it != place.end()) it->second = index;
  }
  std::sort(nodes.begin(), nodes.end(), [&](const GmNode* a, const GmNode* b) {
    if (by_stamp && a->stamp != b->stamp) return a->stamp < b->stamp;
    return place[a] < place[b];
  });
}

void SortInDocumentOrder(std::vector<GmNode*>& nodes, bool by_stamp) {
  if (nodes.size() < 2) return;
  // The labels of each node and of its ancestors, top-down, one node after the other.
  struct Key {
    GmNode* node;
    uint64_t stamp;
    size_t begin, end;  // its labels in `labels`
  };
  std::vector<uint64_t> labels;
  std::vector<Key> keys;
  keys.reserve(nodes.size());
  // Many nodes deep in a hierarchy have more labels between them than the document has objects:
  // past this many, one walk of the document is the cheaper order (objects of one document only).
  const size_t budget = 64 * nodes.size() + 4096;
  GmDoc* doc = DocOf(nodes.front());
  for (GmNode* n : nodes) {
    const size_t begin = labels.size();
    for (const GmNode* p = n; p; p = p->up) labels.push_back(p->order);
    if (doc && labels.size() > budget) {
      SortByWalk(nodes, by_stamp, doc);
      return;
    }
    std::reverse(labels.begin() + static_cast<std::ptrdiff_t>(begin), labels.end());
    keys.push_back(Key{n, by_stamp ? n->stamp : 0, begin, labels.size()});
  }
  // Equal labels down to some level mean the same ancestors there (labels differ among siblings),
  // so the first label that differs decides, and an ancestor (a prefix) comes first.
  std::sort(keys.begin(), keys.end(), [&labels](const Key& a, const Key& b) {
    if (a.stamp != b.stamp) return a.stamp < b.stamp;
    return std::lexicographical_compare(labels.begin() + static_cast<std::ptrdiff_t>(a.begin),
                                        labels.begin() + static_cast<std::ptrdiff_t>(a.end),
                                        labels.begin() + static_cast<std::ptrdiff_t>(b.begin),
                                        labels.begin() + static_cast<std::ptrdiff_t>(b.end));
  });
  for (size_t i = 0; i < keys.size(); ++i) nodes[i] = keys[i].node;
}

std::vector<GmNode*> WalkDocument(const GmDoc* doc) {
  std::vector<GmNode*> out;
  for (GmNode* n = doc->first; n; n = NextInTree(n)) out.push_back(n);
  return out;
}

std::vector<GmNode*> ChildrenOf(const GmNode* node) {
  std::vector<GmNode*> out;
  for (GmNode* c = node->down; c; c = c->next) out.push_back(c);
  return out;
}

int32_t IndexAmongSiblings(const GmNode* node) {
  int32_t i = 0;
  for (const GmNode* p = node->pred; p; p = p->pred) ++i;
  return i;
}

// ---- the table's entries ----

namespace {

GmNode* DocGetFirstObject(GmDoc* doc) {
  NEED_HOST(nullptr);
  if (!KnownDoc(doc, "GetFirstObject")) return nullptr;
  return doc->first;
}

void DocInsertObject(GmDoc* doc, GmNode* op, GmNode* parent, GmNode* pred, GmBool) {
  NEED_HOST();
  if (!KnownDoc(doc, "InsertObject")) return;
  NEED(op && IsObject(op), , "InsertObject without an object");
  NEED(!IsLinked(op), , "InsertObject: " + Describe(op) + " is already in a tree");
  if (pred) {
    NEED(IsObject(pred) && IsLinked(pred) && DocOf(pred) == doc, ,
         "InsertObject: the predecessor " + Describe(pred) + " is not in the document");
    NEED(!InSubtree(pred, op), , "InsertObject: " + Describe(op) + " after an object below itself");
    if (parent && pred->up != parent) {
      H().CodingError("InsertObject: the predecessor " + Describe(pred) +
                      " is not a child of the given parent");
      return;
    }
  } else if (parent) {
    NEED(IsObject(parent) && DocOf(parent) == doc, ,
         "InsertObject: the parent " + Describe(parent) + " is not in the document");
    NEED(!InSubtree(parent, op), , "InsertObject: " + Describe(op) + " under itself");
  }
  LinkInto(op, doc, parent, pred);
  op->undo_held = false;
}

GmNode* TagNeighbour(GmNode* tag, int delta) {
  if (!tag->owner) return nullptr;
  auto& tags = tag->owner->tags;
  auto it = std::find(tags.begin(), tags.end(), tag);
  if (it == tags.end()) return nullptr;
  const ptrdiff_t i = (it - tags.begin()) + delta;
  if (i < 0 || i >= static_cast<ptrdiff_t>(tags.size())) return nullptr;
  return tags[static_cast<size_t>(i)];
}

GmNode* NodeGetNext(GmNode* n) {
  if (!n) return nullptr;
  return IsTag(n) ? TagNeighbour(n, 1) : n->next;
}
GmNode* NodeGetPred(GmNode* n) {
  if (!n) return nullptr;
  return IsTag(n) ? TagNeighbour(n, -1) : n->pred;
}
GmNode* NodeGetUp(GmNode* n) { return n ? n->up : nullptr; }
GmNode* NodeGetDown(GmNode* n) { return n ? n->down : nullptr; }

void NodeRemove(GmNode* n) {
  if (!n) return;
  if (IsTag(n)) {
    if (n->owner) {
      auto& tags = n->owner->tags;
      tags.erase(std::remove(tags.begin(), tags.end(), n), tags.end());
      n->owner = nullptr;
    }
    return;
  }
  Unlink(n);
}

void NodeInsertUnderLast(GmNode* n, GmNode* parent) {
  NEED_HOST();
  NEED(n && IsObject(n), , "InsertUnderLast without an object");
  NEED(parent && IsObject(parent), , "InsertUnderLast of " + Describe(n) + " without a parent");
  NEED(!IsLinked(n), , "InsertUnderLast: " + Describe(n) + " is already in a tree");
  NEED(!InSubtree(parent, n), , "InsertUnderLast: " + Describe(n) + " under itself");
  LinkUnderLast(n, parent);
  n->undo_held = false;
}

GmDoc* NodeGetDocument(GmNode* n) { return DocOf(n); }

}  // namespace

void FillDocumentApi(GmHostApi* t) {
  t->doc_get_first_object = DocGetFirstObject;
  t->doc_insert_object = DocInsertObject;
  t->node_get_next = NodeGetNext;
  t->node_get_pred = NodeGetPred;
  t->node_get_up = NodeGetUp;
  t->node_get_down = NodeGetDown;
  t->node_remove = NodeRemove;
  t->node_insert_under_last = NodeInsertUnderLast;
  t->node_get_document = NodeGetDocument;
}

// ---- Host: documents and the tree ----

GmDoc* Host::ActiveDocument() { return impl_->Active(); }

GmDoc* Host::NewDocument() {
  impl_->docs.push_back(std::make_unique<GmDoc>());
  return impl_->docs.back().get();
}

void Host::SetActiveDocument(GmDoc* doc) {
  for (size_t i = 0; i < impl_->docs.size(); ++i)
    if (impl_->docs[i].get() == doc) impl_->active = i;
}

GmNode* Host::AddObject(int32_t type, const std::string& name, GmNode* parent, GmNode* after) {
  GmNode* n = NewNode(*impl_, type);
  n->name = name;
  if (after) {
    LinkInto(n, DocOf(after), nullptr, after);
  } else if (parent) {
    LinkUnderLast(n, parent);
  } else {
    LinkTopLast(n, impl_->Active());
  }
  return n;
}

GmNode* Host::AddObjectTo(GmDoc* doc, int32_t type, const std::string& name) {
  GmNode* n = NewNode(*impl_, type);
  n->name = name;
  LinkTopLast(n, doc);
  return n;
}

GmNode* Host::FindByName(const std::string& name, GmDoc* doc) const {
  for (GmNode* n : WalkDocument(doc ? doc : impl_->Active()))
    if (n->name == name) return n;
  return nullptr;
}

std::vector<GmNode*> Host::Walk(GmDoc* doc) const {
  return WalkDocument(doc ? doc : impl_->Active());
}
std::vector<GmNode*> Host::Children(GmNode* object) const { return ChildrenOf(object); }
GmNode* Host::Parent(GmNode* node) const { return node->up; }
GmDoc* Host::DocumentOf(GmNode* node) const { return DocOf(node); }

}  // namespace standin
