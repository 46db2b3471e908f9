// Undo and redo (see undo.h): the doc_*_undo entries of the table and Host's undo methods.
#include "undo.h"

#include <algorithm>
#include <utility>

#include "api_table.h"
#include "document.h"
#include "host_impl.h"
#include "node.h"

namespace standin {

const char* UndoTypeName(int32_t type) {
  switch (type) {
    case kUndoChange: return "CHANGE";
    case kUndoChangeSmall: return "CHANGE_SMALL";
    case kUndoNewObj: return "NEWOBJ";
    case kUndoDeleteObj: return "DELETEOBJ";
    case kUndoBits: return "BITS";
    default: return "?";
  }
}

namespace {

TreeState CaptureTree(const GmNode* root) {
  TreeState s;
  size_t depth = 0;
  for (const GmNode* n = root; n; n = NextInSubtree(n, root, depth))
    s.nodes.push_back(TreeState::Node{n->marker, depth, CaptureOwn(n)});
  return s;
}

// Brings the subtree back as captured, reusing every node that is still alive (and taking it
// from wherever it is now). Returns the root, detached.
GmNode* RebuildTree(HostImpl& host, const TreeState& s) {
  // placed[d]: the node last put back at depth d; each next node at depth d + 1 goes after the
  // ones before it under that node, ahead of any child it has that the capture does not hold.
  struct Placed {
    GmNode* node;
    GmNode* last_child;
  };
  std::vector<Placed> placed;
  for (const TreeState::Node& captured : s.nodes) {
    GmNode* node = host.registry.Find(captured.marker);
    if (node && IsTag(node)) node = nullptr;  // cannot happen: markers are never reused
    if (node) {
      Unlink(node);
    } else {
      node = NewNode(host, captured.own.type, captured.marker);
    }
    RestoreOwn(host, node, captured.own);
    placed.resize(captured.depth);
    if (!placed.empty()) {
      LinkInto(node, nullptr, placed.back().node, placed.back().last_child);
      placed.back().last_child = node;
    }
    placed.push_back(Placed{node, nullptr});
  }
  return placed.empty() ? nullptr : placed.front().node;
}

UndoPayload& PayloadOf(UndoStep& step, UndoEntry& e) {
  if (e.payload == 0) {
    step.payloads.push_back(std::make_unique<UndoPayload>());
    e.payload = static_cast<uint32_t>(step.payloads.size());
  }
  return *step.payloads[e.payload - 1];
}

// Swaps the state the entry covers with the one it holds.
void Apply(HostImpl& host, UndoStep& step, UndoEntry& e) {
  GmNode* node = host.registry.Find(e.marker);
  if (e.type == kUndoBits) {
    if (!node) return;
    const int32_t bits = node->bits;
    WriteBits(host, node, e.bits);
    e.bits = bits;
    std::swap(node->stamp, e.stamp);
    return;
  }
  UndoPayload& held = PayloadOf(step, e);
  if (e.type == kUndoChangeSmall || IsTag(node)) {
    if (!node) return;
    NodeState now = CaptureOwn(node, e.type != kUndoChangeSmall);
    RestoreOwn(host, node, held.own);
    held.own = std::move(now);
    return;
  }

  auto now = std::make_unique<UndoPayload>();
  if (!node) {
    now->dead = true;
  } else {
    now->place = CapturePlace(node);
    if (e.type == kUndoChange || e.type == kUndoDeleteObj) now->own = CaptureOwn(node);
    if (e.type == kUndoFreed) now->tree = std::make_unique<TreeState>(CaptureTree(node));
  }

  if (held.dead) {
    if (node) FreeNode(host, node);  // the step ended with the node freed
  } else if (e.type == kUndoNewObj) {
    if (node) MoveToPlace(host, node, held.place);
  } else if (e.type == kUndoChange || e.type == kUndoDeleteObj) {
    if (!node) node = NewNode(host, held.own.type, e.marker);
    RestoreOwn(host, node, held.own);
    MoveToPlace(host, node, held.place);
  } else if (e.type == kUndoFreed) {
    GmNode* root = RebuildTree(host, *held.tree);
    MoveToPlace(host, root, held.place);
  }
  held = std::move(*now);
}

size_t StringExtra(const std::string& s) {
  return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
}

size_t ContainerBytes(const GmContainer& c) {
  size_t bytes = sizeof(GmContainer) + c.elements.capacity() * sizeof(c.elements[0]);
  for (const auto& e : c.elements) {
    bytes += StringExtra(e.second.str);
    if (e.second.sub) bytes += ContainerBytes(*e.second.sub);
  }
  return bytes;
}

// What a NodeState owns beyond its own size.
size_t StateExtra(const NodeState& s) {
  size_t bytes = StringExtra(s.name) + (s.data ? ContainerBytes(*s.data) : 0);
  bytes += s.tags.capacity() * sizeof(TagState);
  for (const TagState& t : s.tags)
    bytes += StringExtra(t.name) + (t.data ? ContainerBytes(*t.data) : 0);
  return bytes;
}

size_t TreeExtra(const TreeState& t) {
  size_t bytes = t.nodes.capacity() * sizeof(TreeState::Node);
  for (const TreeState::Node& n : t.nodes) bytes += StateExtra(n.own);
  return bytes;
}

}  // namespace

void EntryList::push_back(const UndoEntry& e) {
  if (blocks_.empty() || blocks_.back().used == blocks_.back().size) {
    Block b;
    b.size = blocks_.empty() ? kFirstBlock : std::min(blocks_.back().size * 2, kLargestBlock);
    b.data.reset(static_cast<UndoEntry*>(::operator new(b.size * sizeof(UndoEntry))));
    blocks_.push_back(std::move(b));
  }
  Block& b = blocks_.back();
  new (b.data.get() + b.used++) UndoEntry(e);
  ++size_;
}

size_t EntryList::Bytes() const {
  size_t bytes = blocks_.capacity() * sizeof(Block);
  for (const Block& b : blocks_) bytes += b.size * sizeof(UndoEntry);
  return bytes;
}

size_t StepBytes(const UndoStep& step) {
  size_t bytes = sizeof(UndoStep) + step.entries.Bytes() +
                 step.payloads.capacity() * sizeof(step.payloads[0]);
  for (const auto& p : step.payloads) {
    bytes += sizeof(UndoPayload) + StateExtra(p->own);
    if (p->tree) bytes += sizeof(TreeState) + TreeExtra(*p->tree);
  }
  return bytes;
}

Place CapturePlace(const GmNode* node) {
  Place p;
  p.doc = DocOf(node);
  p.parent = node->up ? node->up->marker : 0;
  p.pred = node->pred ? node->pred->marker : 0;
  return p;
}

bool MoveToPlace(HostImpl& host, GmNode* node, const Place& place) {
  if (place.Nowhere()) {
    Unlink(node);
    node->undo_held = true;
    return true;
  }
  GmNode* parent = place.parent ? host.registry.Find(place.parent) : nullptr;
  GmNode* pred = place.pred ? host.registry.Find(place.pred) : nullptr;
  bool exact = true;
  if (place.parent && (!parent || !IsObject(parent) || InSubtree(parent, node))) {
    exact = false;
    parent = nullptr;
  }
  if (pred && (pred == node || pred->up != parent || (!parent && pred->doc != place.doc) ||
               !IsObject(pred))) {
    pred = nullptr;
  }
  if (place.pred && !pred) exact = false;
  if (!exact) {
    host.CodingError("undo: the place of " + Describe(node) + " no longer exists");
    if (place.parent && !parent && !place.doc) {
      Unlink(node);
      node->undo_held = true;
      return false;
    }
  }
  Unlink(node);
  LinkInto(node, place.doc, parent, pred);
  node->undo_held = false;
  return exact;
}

bool StartUndo(HostImpl& host, GmDoc* doc) {
  if (!doc) {
    host.CodingError("StartUndo without a document");
    return false;
  }
  UndoHistory& h = doc->undo;
  if (h.depth++ == 0) {
    h.open = UndoStep{};
    ++host.activity.undo_groups;
  }
  return true;
}

bool EndUndo(HostImpl& host, GmDoc* doc) {
  if (!doc) {
    host.CodingError("EndUndo without a document");
    return false;
  }
  UndoHistory& h = doc->undo;
  if (h.depth == 0) {
    host.CodingError("EndUndo without StartUndo");
    return false;
  }
  if (h.depth == 1) {
    // DELETEOBJ is for an object that the step deletes, not for one it moves: one still in a tree
    // when the step closes would come back beside itself on undo in the application.
    std::vector<Marker> moved;
    for (Marker m : h.open.deleted) {
      const GmNode* node = host.registry.Find(m);
      if (node && IsLinked(node)) moved.push_back(m);
    }
    std::sort(moved.begin(), moved.end());
    for (Marker m : moved)
      host.CodingError("undo: DELETEOBJ for " + Describe(host.registry.Find(m)) +
                       ", which is still in a tree when the undo group closes");
    std::unordered_set<Marker>().swap(h.open.deleted);  // needed while open only
  }
  if (--h.depth == 0 && !h.open.entries.empty()) {
    DropRedo(host, doc);
    h.undo.push_back(std::move(h.open));
    h.open = UndoStep{};
  }
  return true;
}

bool AddUndo(HostImpl& host, GmDoc* doc, int32_t type, GmNode* node) {
  if (!doc) {
    host.CodingError("AddUndo without a document");
    return false;
  }
  UndoHistory& h = doc->undo;
  if (h.depth == 0) {
    host.CodingError("AddUndo outside an undo group (type " + std::to_string(type) + ")");
    return false;
  }
  if (!node) {
    host.CodingError("AddUndo without a node (type " + std::to_string(type) + ")");
    return false;
  }
  // Every entry is for a list element of the document: a new object is recorded once it is
  // inserted, one to be deleted before it is taken out.
  GmDoc* in = DocOf(node);
  if (!in) {
    host.CodingError("AddUndo for " + Describe(node) + ", which is in no document (type " +
                     std::to_string(type) + ")");
    return false;
  }
  if (in != doc) {
    host.CodingError("AddUndo for " + Describe(node) + " of another document");
    return false;
  }
  UndoEntry e;
  e.type = type;
  e.marker = node->marker;
  UndoStep& step = h.open;
  switch (type) {
    case kUndoBits:
      e.bits = node->bits;
      e.stamp = node->stamp;
      break;
    case kUndoChangeSmall:
    case kUndoChange:
    case kUndoDeleteObj: {
      auto p = std::make_unique<UndoPayload>();
      p->own = CaptureOwn(node, type != kUndoChangeSmall);
      if (type != kUndoChangeSmall) p->place = CapturePlace(node);
      if (type == kUndoDeleteObj && !IsTag(node)) step.deleted.insert(node->marker);
      step.payloads.push_back(std::move(p));
      e.payload = static_cast<uint32_t>(step.payloads.size());
      break;
    }
    case kUndoNewObj: {
      auto p = std::make_unique<UndoPayload>();  // the place before: nowhere
      step.payloads.push_back(std::move(p));
      e.payload = static_cast<uint32_t>(step.payloads.size());
      break;
    }
    default:
      host.CodingError("AddUndo with unknown type " + std::to_string(type));
      return false;
  }
  step.entries.push_back(e);
  if (host.options.log_undo_entries) host.activity.undo.push_back(UndoRecord{type, node->marker});
  return true;
}

void NoteFree(HostImpl& host, GmNode* node) {
  for (const auto& doc : host.docs) {
    UndoStep& step = doc->undo.open;
    if (doc->undo.depth == 0 || step.deleted.count(node->marker) == 0) continue;
    auto p = std::make_unique<UndoPayload>();
    p->place = CapturePlace(node);
    p->tree = std::make_unique<TreeState>(CaptureTree(node));
    step.payloads.push_back(std::move(p));
    UndoEntry e;
    e.type = kUndoFreed;
    e.marker = node->marker;
    e.payload = static_cast<uint32_t>(step.payloads.size());
    step.entries.push_back(e);
    return;
  }
}

bool UndoStepBack(HostImpl& host, GmDoc* doc) {
  UndoHistory& h = doc->undo;
  if (h.depth != 0) {
    host.CodingError("undo while an undo group is open");
    return false;
  }
  if (h.undo.empty()) return false;
  UndoStep step = std::move(h.undo.back());
  h.undo.pop_back();
  step.entries.ForEachBackwards([&](UndoEntry& e) { Apply(host, step, e); });
  h.redo.push_back(std::move(step));
  return true;
}

bool RedoStep(HostImpl& host, GmDoc* doc) {
  UndoHistory& h = doc->undo;
  if (h.depth != 0) {
    host.CodingError("redo while an undo group is open");
    return false;
  }
  if (h.redo.empty()) return false;
  UndoStep step = std::move(h.redo.back());
  h.redo.pop_back();
  step.entries.ForEach([&](UndoEntry& e) { Apply(host, step, e); });
  h.undo.push_back(std::move(step));
  return true;
}

void DropRedo(HostImpl& host, GmDoc* doc) {
  UndoHistory& h = doc->undo;
  for (UndoStep& step : h.redo) {
    step.entries.ForEach([&](const UndoEntry& e) {
      // Only an entry that can take a node out of its document can have left one held.
      if (e.type == kUndoBits || e.type == kUndoChangeSmall) return;
      GmNode* node = host.registry.Find(e.marker);
      if (node && node->undo_held && !IsLinked(node) && !IsTag(node)) FreeNode(host, node);
    });
  }
  h.redo.clear();
}

// ---- the table's entries ----

namespace {

GmBool DocStartUndo(GmDoc* doc) {
  NEED_HOST(0);
  if (!KnownDoc(doc, "StartUndo")) return 0;
  return StartUndo(H(), doc);
}

GmBool DocEndUndo(GmDoc* doc) {
  NEED_HOST(0);
  if (!KnownDoc(doc, "EndUndo")) return 0;
  return EndUndo(H(), doc);
}

GmBool DocAddUndo(GmDoc* doc, int32_t type, GmNode* node) {
  NEED_HOST(0);
  if (!KnownDoc(doc, "AddUndo")) return 0;
  return AddUndo(H(), doc, type, node);
}

}  // namespace

void FillUndoApi(GmHostApi* t) {
  t->doc_start_undo = DocStartUndo;
  t->doc_end_undo = DocEndUndo;
  t->doc_add_undo = DocAddUndo;
}

// ---- Host: undo ----

bool Host::Undo(GmDoc* doc) { return UndoStepBack(*impl_, doc ? doc : impl_->Active()); }
bool Host::Redo(GmDoc* doc) { return RedoStep(*impl_, doc ? doc : impl_->Active()); }
int32_t Host::UndoSteps(GmDoc* doc) const {
  return static_cast<int32_t>((doc ? doc : impl_->Active())->undo.undo.size());
}
int32_t Host::RedoSteps(GmDoc* doc) const {
  return static_cast<int32_t>((doc ? doc : impl_->Active())->undo.redo.size());
}
UndoStepSize Host::NewestUndoStep(GmDoc* doc) const {
  const UndoHistory& h = (doc ? doc : impl_->Active())->undo;
  if (h.undo.empty()) return {};
  return UndoStepSize{h.undo.back().entries.size(), StepBytes(h.undo.back())};
}
void Host::DropRedo(GmDoc* doc) { standin::DropRedo(*impl_, doc ? doc : impl_->Active()); }

}  // namespace standin
