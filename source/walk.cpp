#include "walk.h"

BaseObject* NextObjectInTree(BaseObject* op) {
  if (!op) return nullptr;
  if (BaseObject* down = op->GetDown()) return down;
  // Climb until some level has a next sibling; the top level without one ends the walk.
  for (;;) {
    if (BaseObject* next = op->GetNext()) return next;
    op = op->GetUp();
    if (!op) return nullptr;
  }
}

BaseObject* NextObjectInSubtree(BaseObject* op, const BaseObject* root) {
  if (!op) return nullptr;
  if (BaseObject* down = op->GetDown()) return down;
  // As above, but never step past root: its own siblings lie outside the subtree.
  while (op != root) {
    if (BaseObject* next = op->GetNext()) return next;
    op = op->GetUp();
    if (!op) return nullptr;
  }
  return nullptr;
}
