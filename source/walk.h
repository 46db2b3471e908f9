// The document-order walk over the object tree: depth-first pre-order, a parent before its children
// and a whole subtree before the next sibling.
#ifndef GEMLITH_WALK_H
#define GEMLITH_WALK_H

#include "c4d.h"

// The object after `op` in document order: its first child, else the next sibling of op or of its
// nearest ancestor that has one; null at the end of the tree (or when op is null). Start the walk at
// BaseDocument::GetFirstObject. Allocates nothing; three host look-ups at most per step plus one per
// level climbed.
BaseObject* NextObjectInTree(BaseObject* op);

// The same walk kept inside the subtree of `root`: the object after `op`, or null once root's
// subtree is done. Start at root->GetDown(); root itself is never returned.
BaseObject* NextObjectInSubtree(BaseObject* op, const BaseObject* root);

#endif
