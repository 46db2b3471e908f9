// The object operations the instance commands are built from. Each records its own undo entries in
// the document of the object it is given; none opens or closes an undo group or asks the host to
// refresh (RunCommand does that), and a new object goes into a document only when the command
// calls InsertInFrontOf.
#ifndef GEMLITH_INSTANCE_OPS_H
#define GEMLITH_INSTANCE_OPS_H

#include <unordered_map>
#include <vector>

#include "c4d.h"

// One run of a command, held by RunCommand (commands/commands.h) for the whole of every command's
// run: while it lives, the chain-limit message is shown the first time a look-up runs over the
// limit and not again (a cycle met by every look-up of a run would otherwise show it once per
// look-up). Nothing outlives the run; a run started inside another keeps its own count.
class CommandRun {
 public:
  CommandRun();
  ~CommandRun();
  CommandRun(const CommandRun&) = delete;
  CommandRun& operator=(const CommandRun&) = delete;

  // Whether the chain-limit message is to be shown now: true once per run, and every time outside
  // a run.
  static Bool ShowChainLimitMessage();

 private:
  CommandRun* _outer;
  Bool _chainLimitShown = false;
};

// The object that instance `obj` links to, resolved in obj's document as an object. With
// followChain, instance-of-instance links are followed to the first object that is not an instance,
// for at most MAX_INSTANCE_CHAIN further links; a longer chain yields null and shows the
// chain-limit message (once per CommandRun). Null when obj is not an instance, has no document, or
// its link resolves to nothing. Records nothing.
BaseObject* GetReferenceObject(BaseObject* obj, Bool followChain);

// A new instance object of `source`, in no document: named like source, with the stored instance
// mode, linked to source, selected while source is deselected. Null when source is null, has no
// document, or the object cannot be allocated.
// Undo: BITS (source). The caller inserts the instance and then records NEWOBJ for it, before any
// later entry for it.
BaseObject* CreateInstanceOf(BaseObject* source);

// Points `instance` (exactly of the instance type) at `reference`. False when either is null, the
// instance is of another type, the reference has no document, or no link can be made.
// Undo: CHANGE_SMALL (instance), when the instance is in a document (a new one is still the
// caller's).
Bool LinkInstanceTo(BaseObject* instance, BaseObject* reference);

// A full copy (children, tags, parameters) of what instance `obj` refers to, in no document, or
// null. Undo: CHANGE for obj, recorded whenever obj has a document, before any other test.
BaseObject* CloneReferenceObject(BaseObject* obj, Bool followChain);

// Moves all children of `from` under `to`, after to's own children, in their order.
// Undo: CHANGE for each child moved. Nothing is moved (or recorded) when either is null, from has
// no document, or `to` is `from` or lies below it.
void MoveChildren(BaseObject* from, BaseObject* to);

// Inserts `op`, in no document, into `doc` directly in front of `place`, at place's level.
// Records nothing: the caller records NEWOBJ for a new object once it is inserted.
void InsertInFrontOf(BaseDocument* doc, BaseObject* op, BaseObject* place);

// Takes `op` out of `doc` and frees it with everything below it.
// Undo: DELETEOBJ for op, before it is removed.
void DeleteObject(BaseDocument* doc, BaseObject* op);

// The object that element 2 of `obj`'s record (the swap partner) names in `doc`, or null when obj
// has no record, the element is empty or names nothing in doc. Records nothing.
BaseObject* GetSwapPartner(BaseObject* obj, const BaseDocument* doc);

// True when `op` is `root` or lies somewhere below it. Climbs from a live object through its
// parents, which are alive as long as it is.
Bool IsSelfOrBelow(BaseObject* op, const BaseObject* root);

// Appends every descendant of `obj` (not obj itself) to `array` in depth-first pre-order.
// Records nothing.
void CollectDescendants(BaseObject* obj, AtomArray* array);

// The objects whose links name objects that a run is about to replace: the instances whose link
// names one, and the objects whose record names one as swap partner. The host moves such links
// with BaseList2D::TransferGoal but records nothing for undo, so the command records an entry for
// each holder first, in document order, once per object.
//
// The holders are found in one walk of the document, made before anything changes, whatever the
// number of objects replaced. Objects the run inserts later (copies with their subtrees) are added
// with AddInserted; objects it frees are taken out with Forget before they are freed, so that a
// pointer to a freed object is never followed.
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

  // Records UNDOTYPE::CHANGE_SMALL for each object that still names `target` by its instance link
  // or its swap partner, in document order, then moves every link to `target` onto `replacement`
  // (TransferGoal, undo links off). `target` is no longer tracked afterwards.
  void TransferLinks(BaseObject* target, BaseObject* replacement);

 private:
  // Adds `op` to the holder lists of the targets it names, with document rank `rank`.
  void Note(BaseObject* op, Int64 rank);
  bool Names(BaseObject* op, const BaseObject* target) const;

  BaseDocument* _doc;
  std::unordered_map<const BaseObject*, Int64> _rank;  // targets and live holders: document rank
  std::unordered_map<const BaseObject*, std::vector<BaseObject*>> _holders;  // by target
};

#endif
