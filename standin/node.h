// Nodes: objects and tags, the host's list elements.
//
// A node is small (a few hundred bytes): the data container is made only when first asked for,
// and only instance types carry the two instance parameters. Objects form a tree; a top-level
// object knows its document, every other object finds it through its ancestors. Tags belong to one
// object and are freed with it.
#ifndef GEMLITH_STANDIN_NODE_H
#define GEMLITH_STANDIN_NODE_H

#include <memory>
#include <string>
#include <vector>

#include "container.h"
#include "standin/host.h"

struct GmNode {
  standin::Marker marker = 0;
  int32_t type = 0;
  std::string name;
  int32_t bits = 0;
  uint64_t stamp = 0;  // when BIT_ACTIVE last went from clear to set
  GmMatrix ml{};
  standin::Marker link = 0;  // instance types: parameter 1001
  int32_t mode = 0;          // instance types: parameter 1002
  std::unique_ptr<GmContainer> data;

  // The object tree. `doc` is set on top-level objects only.
  GmNode* up = nullptr;
  GmNode* down = nullptr;
  GmNode* down_last = nullptr;
  GmNode* next = nullptr;
  GmNode* pred = nullptr;
  GmDoc* doc = nullptr;

  // Tags: owned by their object.
  GmNode* owner = nullptr;
  std::vector<GmNode*> tags;

  // Taken out of its document by an undo and kept alive for the redo.
  bool undo_held = false;
};

namespace standin {

class HostImpl;

bool IsObjectType(int32_t type);
bool IsObject(const GmNode* n);
bool IsTag(const GmNode* n);
bool HasInstanceParameters(const GmNode* n);
bool IsInstanceOf(const GmNode* n, int32_t type);

// A new node registered under a fresh marker (or under `marker`, when rebuilding one).
GmNode* NewNode(HostImpl& host, int32_t type, Marker marker = 0);
GmNode* NewTag(HostImpl& host, GmNode* object, const std::string& name, Marker marker = 0);
// Frees the node, its subtree and its tags; they leave the registry. The node must be detached.
void FreeNode(HostImpl& host, GmNode* node);
// A copy in no document with fresh markers (tags included); `children` copies the subtree too.
GmNode* CloneNode(HostImpl& host, const GmNode* src, bool children);

GmContainer* DataOf(GmNode* n);  // made on first use

bool GetParameter(const GmNode* n, int32_t id, GmValue* out);
bool SetParameter(GmNode* n, int32_t id, const GmValue& value);

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
  std::vector<TagState> tags;
};
NodeState CaptureOwn(const GmNode* n);
// Puts the captured data back; tags are reused by marker, rebuilt, or freed to match.
void RestoreOwn(HostImpl& host, GmNode* n, const NodeState& s);

}  // namespace standin

#endif  // GEMLITH_STANDIN_NODE_H
