#include "link_holders.h"

#include <algorithm>
#include <tuple>

#include "instance_ops.h"
#include "walk.h"

namespace {

// Objects of the walk are ranked a gap apart, so that the objects of a copy inserted in front of
// one of them can be ranked between it and the object before it: ranks then keep following
// document order for the whole run (moved children keep their places relative to everything else).
constexpr Int64 kRankGap = Int64(1) << 32;

// Calls fn(linked) for every link element of `bc`, at any depth of sub-containers, that resolves in
// `doc`. Browses by index, as the host's containers are meant to be browsed.
template <class Fn>
void ForEachLink(const BaseContainer* bc, const BaseDocument* doc, const Fn& fn) {
  if (!bc) return;
  for (Int32 index = 0;; ++index) {
    const Int32 id = bc->GetIndexId(index);
    if (id == NOTOK) return;
    const Int32 type = bc->GetType(id);
    if (type == DA_ALIASLINK) {
      if (const BaseList2D* linked = bc->GetLink(id, doc)) fn(linked);
    } else if (type == DA_CONTAINER) {
      ForEachLink(bc->GetContainerInstance(id), doc, fn);
    }
  }
}

bool HoldsLinkTo(const BaseContainer* bc, const BaseDocument* doc, const BaseList2D* target) {
  bool found = false;
  ForEachLink(bc, doc, [&](const BaseList2D* linked) { found = found || linked == target; });
  return found;
}

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
  // (rank, tag index, what gets the entry)
  std::vector<std::tuple<Int64, Int32, BaseList2D*>> live;
  const auto it = _holders.find(target);
  if (it != _holders.end()) {
    // A holder whose object was freed is no longer ranked (or its address now ranks another
    // object); one whose link changed since is left alone.
    for (const Holder& holder : it->second) {
      const auto r = _rank.find(holder.object);
      if (r == _rank.end() || r->second != holder.rank || !Names(holder, target)) continue;
      BaseList2D* node = holder.tag ? static_cast<BaseList2D*>(holder.tag) : holder.object;
      live.emplace_back(r->second, holder.index, node);
    }
    _holders.erase(it);
  }
  std::sort(live.begin(), live.end());
  live.erase(std::unique(live.begin(), live.end()), live.end());
  for (const auto& entry : live) _doc->AddUndo(UNDOTYPE::CHANGE_SMALL, std::get<2>(entry));
  _rank.erase(target);
  target->TransferGoal(replacement, false);
}

void LinkHolders::Note(BaseObject* op, Int64 rank) {
  bool holds = false;
  // Each holder once per target: the entries of one holder are added one after the other.
  const auto note = [&](const BaseList2D* named, const Holder& holder) {
    const auto it = _holders.find(named);
    if (it == _holders.end()) return;
    std::vector<Holder>& list = it->second;
    if (!list.empty() && list.back().rank == rank && list.back().tag == holder.tag) return;
    list.push_back(holder);
    holds = true;
  };
  const Holder own{op, nullptr, -1, rank};
  if (const BaseObject* reference = GetReferenceObject(op, false)) note(reference, own);
  ForEachLink(op->GetDataInstance(), _doc, [&](const BaseList2D* linked) { note(linked, own); });
  Int32 index = 0;
  for (BaseTag* tag = op->GetFirstTag(); tag; tag = tag->GetNext(), ++index) {
    const Holder holder{op, tag, index, rank};
    ForEachLink(tag->GetDataInstance(), _doc, [&](const BaseList2D* linked) { note(linked, holder); });
  }
  if (holds) _rank[op] = rank;
}

bool LinkHolders::Names(const Holder& holder, const BaseList2D* target) const {
  if (holder.tag) return HoldsLinkTo(holder.tag->GetDataInstance(), _doc, target);
  return GetReferenceObject(holder.object, false) == target ||
         HoldsLinkTo(holder.object->GetDataInstance(), _doc, target);
}
