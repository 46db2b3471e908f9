// Select: replaces the selection by the instance objects of the selected references.
#include <vector>

#include "commands/commands.h"
#include "instance_ops.h"
#include "scoped.h"
#include "settings.h"
#include "walk.h"

namespace {

// The target of an entry of the active list: the object itself, or for an instance its reference
// (with followChain, the end of its chain); null when that cannot be determined.
BaseObject* TargetOf(C4DAtom* atom, Bool followChain) {
  if (!atom || !atom->IsInstanceOf(Obase)) return nullptr;
  BaseObject* entry = static_cast<BaseObject*>(atom);
  return entry->IsInstanceOf(Oinstance) ? GetReferenceObject(entry, followChain) : entry;
}

// One walk over the document: clears the selected bit of every object (undo: BITS for every object,
// selected or not) and, while there are targets, groups every instance object by its reference
// (with followChain, the end of its chain, resolved once per instance).
void DeselectAllAndMatch(BaseDocument* doc, Bool followChain, TargetMatches& matches) {
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    doc->AddUndo(UNDOTYPE::BITS, op);
    op->DelBit(BIT_ACTIVE);
    if (!matches.Empty() && op->IsInstanceOf(Oinstance))
      matches.Add(GetReferenceObject(op, followChain), op);
  }
}

// Selects the instances matched to `target`, in document order; with `alsoTarget` the target too,
// once per matching instance. Undo: BITS for the target (alsoTarget), then BITS for the instance,
// per match.
void SelectInstancesOf(BaseDocument* doc, BaseObject* target, const TargetMatches& matches,
                       Bool alsoTarget) {
  for (BaseObject* op : matches.Of(target)) {
    if (alsoTarget) {
      doc->AddUndo(UNDOTYPE::BITS, target);
      target->SetBit(BIT_ACTIVE);
    }
    doc->AddUndo(UNDOTYPE::BITS, op);
    op->SetBit(BIT_ACTIVE);
  }
}

// The run inside its undo group; false when the selection array cannot be made.
Bool SelectMatches(BaseDocument* doc) {
  ScopedAtomArray active;
  if (!active) return false;
  // Only the topmost selected object of each selected branch is listed.
  doc->GetActiveObjectsFilter(*active, false, NOTOK, Obase);
  const Int32 keys = GetKeyboardQualifiers();
  const Bool shift = (keys & QSHIFT) != 0;
  const Bool ctrl = (keys & QCTRL) != 0;

  std::vector<BaseObject*> targets;  // per entry, null where it has none
  targets.reserve(static_cast<size_t>(active->GetCount()));
  for (Int32 i = 0; i < active->GetCount(); ++i)
    targets.push_back(TargetOf(active->GetIndex(i), ctrl));
  TargetMatches matches(targets);
  DeselectAllAndMatch(doc, ctrl, matches);
  for (BaseObject* target : targets) {
    if (target) SelectInstancesOf(doc, target, matches, shift);
  }
  return true;
}

}  // namespace

// Deselects everything, then selects the instances of each selected object's target: the object
// itself, or for a selected instance its reference. Shift selects the matched targets too, Ctrl
// follows chains of instances. An entry whose target cannot be determined is passed over and the
// later entries still count. One undo step, then a refresh; false only without a document or a
// selection array.
//
// The entries are handled in their order, each selecting its target's instances in document
// order, but the document is walked only once: the walk that deselects also groups the instances
// by target, and the entries then take their groups.
Bool RunSelect(BaseDocument* doc) {
  StopAllThreads();
  return RunCommand(doc, SelectMatches);
}
