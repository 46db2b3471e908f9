#include "document.h"

#include "node.h"

namespace standin {

const GmNode* RootOf(const GmNode* node) {
  if (node->owner) node = node->owner;
  while (node->up) node = node->up;
  return node;
}

GmDoc* DocOf(const GmNode* node) {
  if (!node) return nullptr;
  return RootOf(node)->doc;
}

bool InSubtree(const GmNode* node, const GmNode* root) {
  for (const GmNode* n = node; n; n = n->up)
    if (n == root) return true;
  return false;
}

bool IsLinked(const GmNode* node) { return node->up != nullptr || node->doc != nullptr; }

static void Splice(GmNode* node, GmNode*& first, GmNode*& last, GmNode* pred) {
  // Insert `node` into the sibling list (first, last) after `pred` (null: at the front).
  GmNode* next = pred ? pred->next : first;
  node->pred = pred;
  node->next = next;
  if (pred) pred->next = node; else first = node;
  if (next) next->pred = node; else last = node;
}

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

}  // namespace standin
