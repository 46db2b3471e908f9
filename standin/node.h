// Nodes: objects and tags, the host's list elements. Fills the table's entries of a node's own
// (type, marker, clone, parameters, name, data, message) and the object_* entries.
//
// A node is small (a few hundred bytes): the data container is made only when first asked for,
// and only instance types carry the two instance parameters. Objects form a tree; a top-level
// object knows its document, every other object finds it through its ancestors. Tags belong to one
// object and are freed with it.
//
// The host's indexes live partly in the nodes: the order label among siblings, the places in the
// selection list and in the set of link holders, and the list of nodes linking to the same target.
// So the bits, the instance link and the data container are written through the functions below
// (WriteBits / SetAllBits, LinkIndex::SetLink, NoteData), never directly.
#ifndef GEMLITH_STANDIN_NODE_H
#define GEMLITH_STANDIN_NODE_H

#include <memory>
#include <string>
#include <vector>

#include "container.h"
#include "gemlith_api.h"

// Exact comparison of matrices (found by argument lookup: GmMatrix is a global C type).
bool operator==(const GmMatrix& a, const GmMatrix& b);
inline bool operator!=(const GmMatrix& a, const GmMatrix& b) { return !(a == b); }

namespace standin {

// ---- host constants (the values the module uses) ----
constexpr int32_t kOnull = 5140;
constexpr int32_t kOcube = 5159;
constexpr int32_t kOsphere = 5160;
constexpr int32_t kOinstance = 5126;
constexpr int32_t kOinstanceDerived = 1059126;  // IsInstanceOf(5126) holds, GetType() is not 5126
constexpr int32_t kObase = 5155;                 // filter only: every object is an instance of it
constexpr int32_t kTagType = 5616;               // the one tag type; tags are not objects

constexpr int32_t kInstanceLink = 1001;  // parameter of instance types: GM_VALUE_LINK
constexpr int32_t kInstanceMode = 1002;  // parameter of instance types: GM_VALUE_LONG

constexpr int32_t kMsgUpdate = 5;  // MSG_UPDATE: the object's bounds are to be measured again

constexpr int32_t kCopyNoHierarchy = 4;
constexpr int32_t kCopyRecursionCheck = 0x4000;

GmMatrix IdentityMatrix();
GmMatrix TranslationMatrix(double x, double y, double z);

}  // namespace standin

struct GmNode {
  // What a document walk and a link look-up read comes first: these 64 bytes share one cache line
  // (when the allocator places the node on a line boundary), so that visiting an instance costs one
  // line of memory, not two.
  standin::Marker marker = 0;
  int32_t type = 0;
  int32_t bits = 0;
  uint64_t stamp = 0;  // when BIT_ACTIVE last went from clear to set
  // The object tree (the way down and along; the way up is needed less). `doc` is set on
  // top-level objects only.
  GmNode* down = nullptr;
  GmNode* next = nullptr;
  // The document the node was last found in, valid while `doc_epoch` is the tree's current epoch
  // (see DocOf): asking again costs no climb to the root.
  mutable const GmDoc* doc_cache = nullptr;
  mutable uint64_t doc_epoch = 0;
  standin::Marker link = 0;  // instance types: parameter 1001

  GmNode* up = nullptr;
  int32_t mode = 0;          // instance types: parameter 1002
  // Instance types: the mode the host last measured the object's bounds with: at its last
  // MSG_UPDATE, or when the host itself set the mode (a scene read, an undo). A plugin's
  // SetParameter alone leaves it as it was.
  int32_t bounds_mode = 0;
  GmNode* owner = nullptr;   // a tag's object
  GmNode* down_last = nullptr;
  GmNode* pred = nullptr;
  GmDoc* doc = nullptr;

  // Index upkeep (see above).
  uint32_t selected_slot = 0;  // 1 + its place in the host's list of selected objects, or 0
  uint32_t holder_slot = 0;    // 1 + its place in the set of nodes whose data may hold links, or 0
  uint64_t order = 0;          // increases along its sibling list
  GmNode* link_prev = nullptr;  // the other nodes whose link names the same marker
  GmNode* link_next = nullptr;

  std::string name;
  GmMatrix ml{};
  std::unique_ptr<GmContainer> data;
  std::vector<GmNode*> tags;  // owned by their object

  // Taken out of its document by an undo and kept alive for the redo.
  bool undo_held = false;
};

namespace standin {

class HostImpl;

// Where the nodes of a host live. Nodes made one after the other lie one after the other, in
// blocks of the pool's own, so that a scene built (or a subtree copied) in document order is read
// in memory order by the walks, however fragmented the heap; a freed node's place goes to the next
// new one. Built with AddressSanitizer, each node is an allocation of its own instead, so that the
// sanitizer still catches any use of a freed node.
class NodePool {
 public:
  NodePool() = default;
  NodePool(const NodePool&) = delete;
  NodePool& operator=(const NodePool&) = delete;
  GmNode* Make();
  void Destroy(GmNode* node);

 private:
  union Slot {
    Slot* next_free;
    alignas(GmNode) unsigned char bytes[sizeof(GmNode)];
  };
  static constexpr size_t kFirstBlock = 64;
  static constexpr size_t kLargestBlock = 4096;
  std::vector<std::unique_ptr<Slot[]>> blocks_;
  size_t block_size_ = 0;
  size_t used_ = 0;  // slots of the newest block handed out so far
  Slot* free_ = nullptr;
};

// Type tests, asked for every object of a walk: inline.
inline bool IsObjectType(int32_t type) { return type != kTagType && type != 0; }
inline bool IsObject(const GmNode* n) { return n && IsObjectType(n->type); }
inline bool IsTag(const GmNode* n) { return n && n->type == kTagType; }
inline bool HasInstanceParameters(const GmNode* n) {
  return n && (n->type == kOinstance || n->type == kOinstanceDerived);
}
inline bool IsInstanceOf(const GmNode* n, int32_t type) {
  if (!n) return false;
  if (type == 0) return true;
  if (type == kObase) return IsObject(n);
  if (type == kOinstance) return HasInstanceParameters(n);
  return n->type == type;
}

// A new node registered under a fresh marker (or under `marker`, when rebuilding one).
GmNode* NewNode(HostImpl& host, int32_t type, Marker marker = 0);
GmNode* NewTag(HostImpl& host, GmNode* object, const std::string& name, Marker marker = 0);
// Frees the node, its subtree and its tags; they leave the registry. The node must be detached.
void FreeNode(HostImpl& host, GmNode* node);
// A copy in no document with fresh markers (tags included); `children` copies the subtree too.
GmNode* CloneNode(HostImpl& host, const GmNode* src, bool children);

GmContainer* DataOf(GmNode* n);  // made on first use
// After `c` (n's data, or a container inside it) was written: its inner containers learn their
// owner, and n joins the link holders when a link element is now in there.
void NoteData(HostImpl& host, GmNode* n, GmContainer& c);
// Whether the node's own data holds a link to `m` (m = 0: any link), at any depth.
bool DataLinksTo(const GmNode* n, Marker m);

bool GetParameter(const GmNode* n, int32_t id, GmValue* out);
bool SetParameter(HostImpl& host, GmNode* n, int32_t id, const GmValue& value);

// "#marker \"name\"", for coding errors.
std::string Describe(const GmNode* n);

// What an undo entry keeps of a node's own data: everything but its place and its children.
struct TagState {
  Marker marker = 0;
  std::string name;
  int32_t bits = 0;
  std::unique_ptr<GmContainer> data;
};
struct NodeState {
  int32_t type = 0;
  std::string name;
  int32_t bits = 0;
  uint64_t stamp = 0;
  GmMatrix ml{};
  Marker link = 0;
  int32_t mode = 0;
  std::unique_ptr<GmContainer> data;
  bool with_tags = true;  // false: the tags are not part of the state (a CHANGE_SMALL entry)
  std::vector<TagState> tags;
};
// `with_tags` false leaves the tags out: they are list elements of their own.
NodeState CaptureOwn(const GmNode* n, bool with_tags = true);
// Puts the captured data back; tags, when captured, are reused by marker, rebuilt, or freed to
// match.
void RestoreOwn(HostImpl& host, GmNode* n, const NodeState& s);

// The node_* entries of a node's own and the object_* entries.
void FillNodeApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_NODE_H
