// Select: replaces the selection by the instance objects of the selected references.
#include "commands/commands.h"
#include "commands/enabling.h"
#include "instance_ops.h"
#include "scoped.h"
#include "settings.h"
#include "walk.h"

namespace {

// Clears the selected bit of every object of the document. Undo: BITS for every object, selected
// or not.
void DeselectAll(BaseDocument* doc) {
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    doc->AddUndo(UNDOTYPE::BITS, op);
    op->DelBit(BIT_ACTIVE);
  }
}

// Selects every instance object of the document whose reference (with followChain, the end of its
// chain) is `target`; with `alsoTarget` the target too, once per matching instance.
// Undo: BITS for the target (alsoTarget), then BITS for the instance, per match.
void SelectInstancesOf(BaseDocument* doc, BaseObject* target, Bool followChain, Bool alsoTarget) {
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    if (!op->IsInstanceOf(Oinstance) || GetReferenceObject(op, followChain) != target) continue;
    if (alsoTarget) {
      doc->AddUndo(UNDOTYPE::BITS, target);
      target->SetBit(BIT_ACTIVE);
    }
    doc->AddUndo(UNDOTYPE::BITS, op);
    op->SetBit(BIT_ACTIVE);
  }
}

}  // namespace

// Deselects everything, then selects the instances of each selected object's target: the object
// itself, or for a selected instance its reference. Shift selects the matched targets too, Ctrl
// follows chains of instances. An entry whose target cannot be determined is passed over and the
// later entries still count. One undo step; false only without a document or a selection array.
Bool Command_Select::Execute(BaseDocument* doc, GeDialog* /*parentManager*/) {
  StopAllThreads();
  if (!doc) return false;
  UndoGroup undo(doc);
  ScopedAtomArray active;
  if (!active) return false;
  // Only the topmost selected object of each selected branch is listed.
  doc->GetActiveObjectsFilter(*active, false, NOTOK, Obase);
  const Int32 keys = GetKeyboardModifiers();
  const Bool shift = (keys & QSHIFT) != 0;
  const Bool ctrl = (keys & QCTRL) != 0;

  DeselectAll(doc);
  for (Int32 i = 0; i < active->GetCount(); ++i) {
    C4DAtom* atom = active->GetIndex(i);
    if (!atom || !atom->IsInstanceOf(Obase)) continue;
    BaseObject* entry = static_cast<BaseObject*>(atom);
    BaseObject* target = entry->IsInstanceOf(Oinstance) ? GetReferenceObject(entry, ctrl) : entry;
    if (!target) continue;  // an empty or broken link, or a chain over the limit
    SelectInstancesOf(doc, target, ctrl, shift);
  }
  EventAdd();
  return true;  // the guards close the undo group and free the array
}

Int32 Command_Select::GetState(BaseDocument* doc, GeDialog* /*parentManager*/) {
  return StateSelection(doc);
}
