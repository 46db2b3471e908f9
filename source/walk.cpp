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
  // Pointers are ordered with std::less: the built-in < is not defined between unrelated objects.
  const std::less<const BaseObject*> before;
  _targets.erase(std::remove(_targets.begin(), _targets.end(), nullptr), _targets.end());
  std::sort(_targets.begin(), _targets.end(), before);
  _targets.erase(std::unique(_targets.begin(), _targets.end()), _targets.end());
  _matches.resize(_targets.size());
}

Int TargetMatches::IndexOf(const BaseObject* target) const {
  const auto it =
      std::lower_bound(_targets.begin(), _targets.end(), target, std::less<const BaseObject*>());
  if (it == _targets.end() || *it != target) return -1;
  return it - _targets.begin();
}

void TargetMatches::Add(const BaseObject* target, BaseObject* op) {
  if (!target) return;
  const Int i = IndexOf(target);
  if (i >= 0) _matches[static_cast<size_t>(i)].push_back(op);
}

const std::vector<BaseObject*>& TargetMatches::Of(const BaseObject* target) const {
  const Int i = target ? IndexOf(target) : -1;
  return i >= 0 ? _matches[static_cast<size_t>(i)] : _none;
}
