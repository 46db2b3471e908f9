// Undo and redo: groups, entries and the two stacks of one document. Fills the doc_start_undo,
// doc_end_undo and doc_add_undo entries of the table.
//
// An entry refers to its node by marker, never by pointer. The application's undo contract holds
// strictly, and breaking it is a coding error: an entry is for a node of the document (a new object
// is recorded once it is inserted, NEWOBJ after the action; every other entry before the change),
// and a DELETEOBJ node must be freed by the time the outermost group closes (it is not for moves).
// What an entry keeps depends on its type:
//   BITS          the bit word and the selection stamp (in the entry itself: 32 bytes)
//   CHANGE_SMALL  the node's own data (name, parameters, container, matrix, bits); not its tags,
//                 which are list elements with entries of their own, and not its children
//   CHANGE        the same with the tags, and its place (parent, previous sibling, document)
//   NEWOBJ        nothing at first: undo takes the node out and keeps it for the redo
//   DELETEOBJ     the same as CHANGE; when the module then frees the node, a step-internal FREED
//                 entry follows, with a deep copy of the node's subtree as it was freed, so that
//                 undo rebuilds it before the entries recorded before the free
// An entry for a tag keeps and restores that tag's own data.
// Undoing a step runs its entries backwards; each first captures the current state of what it
// covers, then puts back what it holds, so that the redo (forwards) re-applies the step's result.
#ifndef GEMLITH_STANDIN_UNDO_H
#define GEMLITH_STANDIN_UNDO_H

#include <memory>
#include <new>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "link.h"
#include "node.h"

namespace standin {

constexpr int32_t kUndoChange = 40;
constexpr int32_t kUndoChangeSmall = 42;
constexpr int32_t kUndoNewObj = 44;
constexpr int32_t kUndoDeleteObj = 45;
constexpr int32_t kUndoBits = 48;
// "CHANGE", "CHANGE_SMALL", "NEWOBJ", "DELETEOBJ", "BITS"; "?" for any other type.
const char* UndoTypeName(int32_t type);

// An AddUndo call the host accepted, as the activity log lists it.
struct UndoRecord {
  int32_t type = 0;
  Marker marker = 0;
  bool operator==(const UndoRecord& o) const { return type == o.type && marker == o.marker; }
};

struct UndoStepSize {
  size_t entries = 0;
  size_t bytes = 0;
};

class HostImpl;

// Internal entry type (never recorded by the module): the node was freed after a DELETEOBJ entry.
constexpr int32_t kUndoFreed = -kUndoDeleteObj;

struct UndoEntry {
  int32_t type = 0;
  int32_t bits = 0;
  Marker marker = 0;
  uint64_t stamp = 0;
  uint32_t payload = 0;  // index into the step's payloads + 1; 0 = none
};
static_assert(sizeof(UndoEntry) <= 32, "undo entries must stay lean");
static_assert(std::is_trivially_copyable<UndoEntry>::value &&
                  std::is_trivially_destructible<UndoEntry>::value,
              "entries are copied into raw storage");

// Where a node stands: under `parent` (a marker) or at the top of `doc`, after `pred`.
struct Place {
  GmDoc* doc = nullptr;
  Marker parent = 0;
  Marker pred = 0;
  bool Nowhere() const { return doc == nullptr && parent == 0; }
};

// A subtree, its root first, in document order: each node with its depth below the root.
struct TreeState {
  struct Node {
    Marker marker = 0;
    size_t depth = 0;
    NodeState own;
  };
  std::vector<Node> nodes;
};

struct UndoPayload {
  bool dead = false;  // the node did not exist (had been freed)
  NodeState own;
  Place place;
  std::unique_ptr<TreeState> tree;
};

// A step's entries, in blocks that double in size up to a cap: appending never copies what is
// stored, and the room left over is at most one block, so an entry costs its own 32 bytes whether
// the step holds ten entries or a million.
class EntryList {
 public:
  EntryList() = default;
  EntryList(EntryList&& o) noexcept : blocks_(std::move(o.blocks_)), size_(o.size_) { o.size_ = 0; }
  EntryList& operator=(EntryList&& o) noexcept {
    blocks_ = std::move(o.blocks_);
    size_ = o.size_;
    o.size_ = 0;
    return *this;
  }

  void push_back(const UndoEntry& e);
  bool empty() const { return size_ == 0; }
  size_t size() const { return size_; }
  size_t Bytes() const;  // the blocks and their list
  template <class Fn>
  void ForEach(Fn fn) {
    for (Block& b : blocks_)
      for (size_t i = 0; i < b.used; ++i) fn(b.data.get()[i]);
  }
  template <class Fn>
  void ForEachBackwards(Fn fn) {
    for (auto b = blocks_.rbegin(); b != blocks_.rend(); ++b)
      for (size_t i = b->used; i-- > 0;) fn(b->data.get()[i]);
  }

 private:
  static constexpr size_t kFirstBlock = 8;
  static constexpr size_t kLargestBlock = 1024;  // 32 KiB: below the size the C library maps
  // Raw storage: an entry is written when it is appended, not zeroed before.
  struct FreeStorage {
    void operator()(UndoEntry* p) const { ::operator delete(p); }
  };
  struct Block {
    std::unique_ptr<UndoEntry, FreeStorage> data;
    size_t size = 0;
    size_t used = 0;
  };
  std::vector<Block> blocks_;
  size_t size_ = 0;
};

struct UndoStep {
  EntryList entries;
  std::vector<std::unique_ptr<UndoPayload>> payloads;
  std::unordered_set<Marker> deleted;  // while open: the nodes it has a DELETEOBJ entry for
};

class UndoHistory {
 public:
  int32_t depth = 0;  // open StartUndo calls
  UndoStep open;
  std::vector<UndoStep> undo;
  std::vector<UndoStep> redo;
};

bool StartUndo(HostImpl& host, GmDoc* doc);
bool EndUndo(HostImpl& host, GmDoc* doc);
bool AddUndo(HostImpl& host, GmDoc* doc, int32_t type, GmNode* node);
bool UndoStepBack(HostImpl& host, GmDoc* doc);
bool RedoStep(HostImpl& host, GmDoc* doc);
// Called before the module frees `node`: when an open step recorded it as deleted, the step keeps
// a copy of its subtree (a FREED entry).
void NoteFree(HostImpl& host, GmNode* node);
// Frees the nodes that only the redo steps kept alive, and drops those steps.
void DropRedo(HostImpl& host, GmDoc* doc);

// The bytes a step keeps: its entries and everything their payloads own (allocator overhead aside).
size_t StepBytes(const UndoStep& step);

Place CapturePlace(const GmNode* node);
// Moves the node (with its subtree) to `place`; false when the place no longer exists (the node
// then goes to the top of the document, or stays out when there is none).
bool MoveToPlace(HostImpl& host, GmNode* node, const Place& place);

// doc_start_undo, doc_end_undo and doc_add_undo.
void FillUndoApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_UNDO_H
