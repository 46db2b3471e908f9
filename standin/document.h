// Documents and the object tree: insertion, removal and the document-order walk. Fills the
// doc_get_first_object and doc_insert_object entries of the table and the tree's node entries
// (next, pred, up, down, remove, insert_under_last, get_document).
//
// The Link*/Unlink functions are the raw tree edits the host uses itself (undo, scene building);
// the checks that turn misuse into a coding error live in the table functions that call them.
#ifndef GEMLITH_STANDIN_DOCUMENT_H
#define GEMLITH_STANDIN_DOCUMENT_H

#include <vector>

#include "node.h"
#include "undo.h"

struct GmDoc {
  GmNode* first = nullptr;  // top-level objects
  GmNode* last = nullptr;
  standin::UndoHistory undo;
};

namespace standin {

// Bumped by every edit that can change which document a node lies in (any insertion or removal);
// a node's remembered document is good while its epoch is this one.
extern uint64_t g_tree_epoch;
GmDoc* FindDocOf(const GmNode* node);  // climbs to the root and remembers the answer

// The document the node lies in (a tag: its object's), or null.
inline GmDoc* DocOf(const GmNode* node) {
  if (node && node->type != kTagType && node->doc_epoch == g_tree_epoch)
    return const_cast<GmDoc*>(node->doc_cache);
  return FindDocOf(node);
}
// The root of the node's tree (the node itself when it has no parent).
const GmNode* RootOf(const GmNode* node);
// Whether `node` is `root` or lies below it.
bool InSubtree(const GmNode* node, const GmNode* root);
// Whether the node sits in some list: under a parent or at the top of a document.
bool IsLinked(const GmNode* node);

// Raw edits. The node must not be linked. With `pred`: right after it (under pred's parent or at
// pred's level of its document); else with `parent`: its first child; else the document's first
// top-level object. Each insertion gives the node an order label between its neighbours'
// (GmNode::order), relabelling the sibling list in the rare case that there is no room.
void LinkInto(GmNode* node, GmDoc* doc, GmNode* parent, GmNode* pred);
void LinkUnderLast(GmNode* node, GmNode* parent);
void LinkTopLast(GmNode* node, GmDoc* doc);
void Unlink(GmNode* node);  // no-op when not linked

// Depth-first pre-order.
GmNode* NextInTree(GmNode* node);
// The same walk kept inside the subtree of `root` (start at root; root itself is not returned
// again): the node after `node`, or null once the subtree is done. `depth` (root = 0) follows the
// step. Walks of a subtree use this rather than recursion, so any depth fits the stack.
GmNode* NextInSubtree(const GmNode* node, const GmNode* root, size_t& depth);
// Whether `a` comes before `b` in document order; both lie in one tree or at the top of one
// document. Climbs from both to the level where they are siblings (or one holds the other) and
// compares the order labels there: the cost is the depth, whatever the number of objects.
bool InDocumentOrder(const GmNode* a, const GmNode* b);
// Sorts objects of one document into document order; with `by_stamp`, by selection stamp first
// and in document order among equal stamps. Each object's place (its labels from the top down) is
// read once, so that the sort itself touches no object again.
void SortInDocumentOrder(std::vector<GmNode*>& nodes, bool by_stamp = false);
std::vector<GmNode*> WalkDocument(const GmDoc* doc);
std::vector<GmNode*> ChildrenOf(const GmNode* node);
int32_t IndexAmongSiblings(const GmNode* node);

// doc_get_first_object, doc_insert_object and the node entries of the tree.
void FillDocumentApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_DOCUMENT_H
