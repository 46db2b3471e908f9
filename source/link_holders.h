// The one rule for links when a command replaces an object: every link to the replaced object
// moves to its replacement inside the command's undo step, and Undo gives every link back.
#ifndef GEMLITH_LINK_HOLDERS_H
#define GEMLITH_LINK_HOLDERS_H

#include <unordered_map>
#include <vector>

#include "c4d.h"

// The holders of links to objects that a run is about to replace: objects whose instance link names
// one, objects whose data container holds a link to one at any depth (the record's swap partner
// included), and tags whose data holds one. The host moves such links with
// BaseList2D::TransferGoal but records nothing for undo, so the run records an entry for each
// holder first (for a tag, an entry for the tag), in document order, once per holder.
//
// The holders are found in one walk of the document, made before anything changes, whatever the
// number of objects replaced. Objects the run inserts later (copies with their subtrees) are added
// with AddInserted; objects it frees are taken out with Forget before they are freed, so that a
// pointer to a freed object (or to one of its tags) is never followed.
//
// Links held outside the document's objects and tags (materials, other documents, node graphs)
// are out of reach: TransferGoal may move them, but without an entry Undo cannot move them back.
class LinkHolders {
 public:
  // Walks `doc` once and notes every holder of a link to one of `targets` (objects of doc); no walk
  // when there are no targets.
  LinkHolders(BaseDocument* doc, const std::vector<BaseObject*>& targets);

  // Notes the holders in the subtree of `root`, which was just inserted directly in front of
  // `place`, an object of the walk (a target).
  void AddInserted(BaseObject* root, const BaseObject* place);

  // Forgets `root` and everything below it. Call before they are freed.
  void Forget(BaseObject* root);

  // Records UNDOTYPE::CHANGE_SMALL for each object and tag that still holds a link to `target`, in
  // document order (an object before its tags), then moves every link to `target` onto
  // `replacement` (TransferGoal, undo links off). `target` is no longer tracked afterwards.
  void TransferLinks(BaseObject* target, BaseObject* replacement);

 private:
  // An object's own links (tag null, index -1) or the links in the data of its tag number `index`.
  // `rank` is the object's rank when it was noted: an object freed during the run may leave its
  // address to one inserted later, which gets another rank, so a holder counts only while its
  // object's rank is still the one it was noted with.
  struct Holder {
    BaseObject* object;
    BaseTag* tag;
    Int32 index;
    Int64 rank;
  };

  // Adds `op` and its tags to the holder lists of the targets they name, with document rank `rank`.
  void Note(BaseObject* op, Int64 rank);
  bool Names(const Holder& holder, const BaseList2D* target) const;

  BaseDocument* _doc;
  std::unordered_map<const BaseList2D*, Int64> _rank;  // targets and live holders: document rank
  std::unordered_map<const BaseList2D*, std::vector<Holder>> _holders;  // by target
};

#endif
