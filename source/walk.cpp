#include "walk.h"

#include <algorithm>
#include <functional>
#include <utility>

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

TargetMatches::TargetMatches(std::vector<BaseObject*> targets) : _targets(std::move(targets)) {
  const std::less<const BaseObject*> before;
  _targets.erase(std::remove(_targets.begin(), _targets.end(), nullptr), _targets.end());
  std::sort(_targets.begin(), _targets.end(), before);
  _targets.erase(std::unique(_targets.begin(), _targets.end()), _targets.end());
  _matches.resize(_targets.size());
}

const std::vector<BaseObject*>& TargetMatches::Of(const BaseObject* target) const {
  const Int i = IndexOf(target);
  return i >= 0 ? _matches[static_cast<size_t>(i)] : _none;
}
