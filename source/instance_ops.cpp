#include "instance_ops.h"

#include <algorithm>
#include <utility>

#include "ids.h"
#include "resource.h"
#include "settings.h"
#include "walk.h"

namespace {

// Resolves the link held in `value` in `doc`, accepting objects only.
BaseObject* ResolveObjectLink(const GeData& value, const BaseDocument* doc) {
  return static_cast<BaseObject*>(value.GetLinkAtom(doc, Obase));
}

// The innermost command run in progress; null between runs.
CommandRun* g_run = nullptr;

}  // namespace

CommandRun::CommandRun() : _outer(g_run) { g_run = this; }

CommandRun::~CommandRun() { g_run = _outer; }

Bool CommandRun::ShowChainLimitMessage() {
  if (!g_run) return true;
  if (g_run->_chainLimitShown) return false;
  g_run->_chainLimitShown = true;
  return true;
}

// One GeData holds every link read along the chain, so a look-up allocates nothing of its own: the
// host answers with a marker and resolves it in the instance's document.
BaseObject* GetReferenceObject(BaseObject* obj, Bool followChain) {
  if (!obj || !obj->IsInstanceOf(Oinstance)) return nullptr;
  GeData link;
  if (!obj->GetParameter(DescID(INSTANCEOBJECT_LINK), link, DESCFLAGS_GET::NONE)) return nullptr;
  BaseDocument* doc = obj->GetDocument();
  if (!doc) return nullptr;
  BaseObject* current = ResolveObjectLink(link, doc);
  if (!current || !followChain) return current;

  // Follow instance-of-instance links; a chain longer than the limit is taken for a cycle.
  for (Int32 left = MAX_INSTANCE_CHAIN; current->IsInstanceOf(Oinstance); --left) {
    if (left <= 0) {
      if (CommandRun::ShowChainLimitMessage())
        MessageDialog(g_resource.LoadString(IDS_CHAIN_LIMIT));
      return nullptr;
    }
    if (!current->GetParameter(DescID(INSTANCEOBJECT_LINK), link, DESCFLAGS_GET::NONE))
      return nullptr;
    current = ResolveObjectLink(link, doc);
    if (!current) return nullptr;
  }
  return current;
}

Bool IsSelfOrBelow(BaseObject* op, const BaseObject* root) {
  for (; op; op = op->GetUp())
    if (op == root) return true;
  return false;
}

BaseObject* CreateInstanceOf(BaseObject* source) {
  if (!source) return nullptr;
  BaseDocument* doc = source->GetDocument();
  if (!doc) return nullptr;
  BaseObject* instance = BaseObject::Alloc(Oinstance);
  if (!instance) return nullptr;
  // The new object is ours until the caller inserts it (and records NEWOBJ): it is built without
  // entries of its own.
  const Int32 mode = GetInstanceModeSetting();
  instance->SetName(source->GetName());
  instance->SetParameter(DescID(INSTANCEOBJECT_RENDERINSTANCE_MODE), GeData(mode),
                         DESCFLAGS_SET::NONE);
  LinkInstanceTo(instance, source);  // on failure the instance simply stays without a link

  // The selection moves from the source to its new instance.
  doc->AddUndo(UNDOTYPE::BITS, source);
  source->DelBit(BIT_ACTIVE);
  instance->SetBit(BIT_ACTIVE);
  return instance;
}

Bool LinkInstanceTo(BaseObject* instance, BaseObject* reference) {
  if (!instance || !reference) return false;
  if (instance->GetType() != Oinstance) return false;
  BaseDocument* doc = reference->GetDocument();
  if (!doc) return false;
  BaseLink* link = BaseLink::Alloc();
  if (!link) return false;
  link->SetLink(reference);
  GeData value;
  value.SetBaseLink(*link);

  // An instance in no document is a new one, still the caller's: nothing to record for it.
  if (instance->GetDocument()) doc->AddUndo(UNDOTYPE::CHANGE_SMALL, instance);
  instance->SetParameter(DescID(INSTANCEOBJECT_LINK), value, DESCFLAGS_SET::NONE);
  instance->Message(MSG_UPDATE);
  BaseLink::Free(link);
  return true;
}

BaseObject* CloneReferenceObject(BaseObject* obj, Bool followChain) {
  if (!obj) return nullptr;
  BaseDocument* doc = obj->GetDocument();
  if (!doc) return nullptr;
  // Recorded before any test: callers rely on the entry being there whatever follows.
  doc->AddUndo(UNDOTYPE::CHANGE, obj);
  if (!obj->IsInstanceOf(Oinstance)) return nullptr;
  BaseObject* reference = GetReferenceObject(obj, followChain);
  if (!reference) return nullptr;
  return static_cast<BaseObject*>(reference->GetClone(COPYFLAGS::NONE, nullptr));
}

// A target that is `from` itself or lies below it would have to be inserted under itself: such a
// call moves nothing (and records nothing) instead.
void MoveChildren(BaseObject* from, BaseObject* to) {
  if (!from || !to) return;
  BaseDocument* doc = from->GetDocument();
  if (!doc) return;
  if (IsSelfOrBelow(to, from)) return;
  for (BaseObject* child = from->GetDown(); child;) {
    BaseObject* next = child->GetNext();  // taken before the move changes it
    doc->AddUndo(UNDOTYPE::CHANGE, child);
    child->Remove();
    child->InsertUnderLast(to);
    child = next;
  }
}

void InsertInFrontOf(BaseDocument* doc, BaseObject* op, BaseObject* place) {
  doc->InsertObject(op, place->GetUp(), place->GetPred(), false);
}

void DeleteObject(BaseDocument* doc, BaseObject* op) {
  doc->AddUndo(UNDOTYPE::DELETEOBJ, op);
  op->Remove();
  BaseObject::Free(op);
}

// Walks the subtree without recursion, so that a deep hierarchy cannot exhaust the stack.
void CollectDescendants(BaseObject* obj, AtomArray* array) {
  if (!obj || !array) return;
  for (BaseObject* op = obj->GetDown(); op; op = NextObjectInSubtree(op, obj)) array->Append(op);
}

BaseObject* GetSwapPartner(BaseObject* obj, const BaseDocument* doc) {
  if (!obj) return nullptr;
  BaseContainer* data = obj->GetDataInstance();
  if (!data) return nullptr;
  const BaseContainer* record = data->GetContainerInstance(ID_GEMLITH);
  if (!record) return nullptr;
  return static_cast<BaseObject*>(record->GetLink(RECORD_SWAP_PARTNER, doc, Obase));
}

namespace {

// Objects of the walk are ranked a gap apart, so that the objects of a copy inserted in front of
// one of them can be ranked between it and the object before it: ranks then keep following
// document order for the whole run (moved children keep their places relative to everything else).
constexpr Int64 kRankGap = Int64(1) << 32;

}  // namespace

LinkHolders::LinkHolders(BaseDocument* doc, const std::vector<BaseObject*>& targets) : _doc(doc) {
  if (targets.empty()) return;
  for (BaseObject* target : targets) _holders[target];
  Int64 rank = 0;
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    rank += kRankGap;
    if (_holders.count(op) != 0) _rank[op] = rank;
    Note(op, rank);
  }
}

void LinkHolders::AddInserted(BaseObject* root, const BaseObject* place) {
  const auto at = _rank.find(place);
  if (!root || at == _rank.end()) return;
  Int64 rank = at->second - kRankGap;
  for (BaseObject* op = root; op; op = NextObjectInSubtree(op, root)) Note(op, ++rank);
}

void LinkHolders::Forget(BaseObject* root) {
  if (!root) return;
  for (BaseObject* op = root; op; op = NextObjectInSubtree(op, root)) {
    _rank.erase(op);
    _holders.erase(op);
  }
}

void LinkHolders::TransferLinks(BaseObject* target, BaseObject* replacement) {
  std::vector<std::pair<Int64, BaseObject*>> live;
  const auto it = _holders.find(target);
  if (it != _holders.end()) {
    // A holder that was freed is no longer ranked; one whose link changed since is left alone.
    for (BaseObject* holder : it->second) {
      const auto r = _rank.find(holder);
      if (r != _rank.end() && Names(holder, target)) live.emplace_back(r->second, holder);
    }
    _holders.erase(it);
  }
  std::sort(live.begin(), live.end(),
            [](const std::pair<Int64, BaseObject*>& a, const std::pair<Int64, BaseObject*>& b) {
              return a.first < b.first;
            });
  live.erase(std::unique(live.begin(), live.end()), live.end());
  for (const std::pair<Int64, BaseObject*>& entry : live)
    _doc->AddUndo(UNDOTYPE::CHANGE_SMALL, entry.second);
  _rank.erase(target);
  target->TransferGoal(replacement, false);
}

void LinkHolders::Note(BaseObject* op, Int64 rank) {
  bool holds = false;
  for (BaseObject* named : {GetReferenceObject(op, false), GetSwapPartner(op, _doc)}) {
    if (!named) continue;
    const auto it = _holders.find(named);
    if (it == _holders.end()) continue;
    it->second.push_back(op);
    holds = true;
  }
  if (holds) _rank[op] = rank;
}

bool LinkHolders::Names(BaseObject* op, const BaseObject* target) const {
  return GetReferenceObject(op, false) == target || GetSwapPartner(op, _doc) == target;
}
