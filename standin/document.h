// Documents and the object tree: insertion, removal and the document-order walk.
//
// The Link*/Unlink functions are the raw tree edits the host uses itself (undo, scene building);
// the checks that turn misuse into a coding error live in the table functions that call them.
#ifndef GEMLITH_STANDIN_DOCUMENT_H
#define GEMLITH_STANDIN_DOCUMENT_H

#include <vector>

#include "standin/host.h"
#include "undo.h"

struct GmDoc {
  GmNode* first = nullptr;  // top-level objects
  GmNode* last = nullptr;
  standin::UndoHistory undo;
};

namespace standin {

// The document the node lies in (a tag: its object's), or null.
GmDoc* DocOf(const GmNode* node);
// The root of the node's tree (the node itself when it has no parent).
const GmNode* RootOf(const GmNode* node);
// Whether `node` is `root` or lies below it.
bool InSubtree(const GmNode* node, const GmNode* root);
// Whether the node sits in some list: under a parent or at the top of a document.
bool IsLinked(const GmNode* node);

// Raw edits. The node must not be linked. With `pred`: right after it (under pred's parent or at
// pred's level of its document); else with `parent`: its first child; else the document's first
// top-level object.
void LinkInto(GmNode* node, GmDoc* doc, GmNode* parent, GmNode* pred);
void LinkUnderLast(GmNode* node, GmNode* parent);
void LinkTopLast(GmNode* node, GmDoc* doc);
void Unlink(GmNode* node);  // no-op when not linked

// Depth-first pre-order.
GmNode* NextInTree(GmNode* node);
std::vector<GmNode*> WalkDocument(const GmDoc* doc);
std::vector<GmNode*> ChildrenOf(const GmNode* node);
int32_t IndexAmongSiblings(const GmNode* node);

}  // namespace standin

#endif  // GEMLITH_STANDIN_DOCUMENT_H
