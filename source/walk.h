// The document-order walk over the object tree: depth-first pre-order, a parent before its children
// and a whole subtree before the next sibling.
#ifndef GEMLITH_WALK_H
#define GEMLITH_WALK_H

#include <algorithm>
#include <functional>
#include <vector>

#include "c4d.h"

// The object after `op` in document order: its first child, else the next sibling of op or of its
// nearest ancestor that has one; null at the end of the tree (or when op is null). Start the walk at
// BaseDocument::GetFirstObject. Allocates nothing; three host look-ups at most per step plus one per
// level climbed.
BaseObject* NextObjectInTree(BaseObject* op);

// The same walk kept inside the subtree of `root`: the object after `op`, or null once root's
// subtree is done. Start at root->GetDown(); root itself is never returned.
BaseObject* NextObjectInSubtree(BaseObject* op, const BaseObject* root);

// The objects met in one walk, grouped by the target each matches, for the commands that would
// otherwise walk the document once per target: the walk adds every object with the target it
// matches, and each target's objects come back in the order they were added (document order).
// Only the targets given at the start are kept; finding one costs a binary search.
class TargetMatches {
 public:
  // `targets` in any order, repeats and nulls allowed.
  explicit TargetMatches(std::vector<BaseObject*> targets);

  // No target to match: the walk can skip its look-ups.
  Bool Empty() const { return _targets.empty(); }
  // Keeps `op` for `target` when target is one of the targets; otherwise does nothing. Inline: the
  // walk calls it for every instance.
  void Add(const BaseObject* target, BaseObject* op) {
    const Int i = IndexOf(target);
    if (i >= 0) _matches[static_cast<size_t>(i)].push_back(op);
  }
  // The objects added for `target`, in the order added; none for any other object.
  const std::vector<BaseObject*>& Of(const BaseObject* target) const;

 private:
  // The index of `target` in _targets, or -1 (also for null). Pointers are ordered with std::less:
  // the built-in < is not defined between unrelated objects.
  Int IndexOf(const BaseObject* target) const {
    // One target is the usual run, and the walk asks for every instance: one comparison then.
    if (_targets.size() == 1) return _targets[0] == target ? 0 : -1;
    const auto it = std::lower_bound(_targets.begin(), _targets.end(), target,
                                     std::less<const BaseObject*>());
    return it != _targets.end() && *it == target ? it - _targets.begin() : -1;
  }

  std::vector<BaseObject*> _targets;  // sorted, without repeats or nulls
  std::vector<std::vector<BaseObject*>> _matches;  // per target
  std::vector<BaseObject*> _none;
};

#endif
