// Split: gives selected instance objects a reference of their own. The instance selected last is
// replaced by a copy of what it links to; the other selected instances link to that copy and take
// its name.
#include "commands/commands.h"
#include "instance_ops.h"
#include "link_holders.h"
#include "scoped.h"

namespace {

// Whether Ctrl is held, as the mouse device reports it (the keyboard device may not have seen the
// key when the entry was picked with the mouse).
bool IsCtrlHeldOnMouse() {
  BaseContainer state;
  GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state);
  return (state.GetInt32(BFM_INPUT_QUALIFIER, 0) & QCTRL) != 0;
}

// The split itself, inside the caller's undo group. Nothing is freed before the last step, so every
// object of the working list stays alive for the whole run.
bool SplitSelection(BaseDocument* doc) {
  ScopedAtomArray instances;
  if (!instances) return false;
  doc->GetActiveObjects(*instances,
                        GETACTIVEOBJECTFLAGS::CHILDREN | GETACTIVEOBJECTFLAGS::SELECTIONORDER);
  if (instances->GetCount() < 2) return false;
  const bool ctrl = IsCtrlHeldOnMouse();

  // Keep the objects of exactly the instance type, in selection order; the last one is replaced.
  instances->FilterObject(Oinstance, Oinstance);
  BaseObject* last = nullptr;
  if (instances->GetCount() > 0) {
    last = static_cast<BaseObject*>(instances->GetIndex(instances->GetCount() - 1));
    if (last) instances->Remove(last);
  }
  if (instances->GetCount() < 1 || !last || last->GetType() != Oinstance) return false;
  String name;
  if (ctrl && !RenameDialog(&name)) return false;

  // What links to the replaced instance, found before anything changes.
  LinkHolders holders(doc, {last});
  BaseObject* copy = CloneReferenceObject(last, false);
  if (!copy) return false;
  if (name.GetLength() > 0) copy->SetName(name);
  InsertInFrontOf(doc, copy, last);
  doc->AddUndo(UNDOTYPE::NEWOBJ, copy);
  holders.AddInserted(copy, last);

  // The other instances link to the copy and take its name, also when the link cannot be set.
  for (Int32 i = 0; i < instances->GetCount(); ++i) {
    auto* other = static_cast<BaseObject*>(instances->GetIndex(i));
    if (!other) continue;
    // The name changes even when no link could be made; LinkInstanceTo then recorded nothing, so
    // the rename gets an entry of its own and undo gives the old name back.
    if (!LinkInstanceTo(other, copy)) doc->AddUndo(UNDOTYPE::CHANGE_SMALL, other);
    other->SetName(copy->GetName());
  }

  // Links that still name the replaced instance now name the copy. The instance then goes with its
  // children, selected instances below it included.
  holders.TransferLinks(last, copy);
  DeleteObject(doc, last);
  return true;
}

}  // namespace

// Splits the selected instance objects off their reference: a copy of what the instance selected
// last links to directly (named as typed in the rename dialog under Ctrl, else like the original)
// takes that instance's place; the other selected instances link to the copy and take its name;
// every other link to the instance selected last moves to the copy, and that instance is freed
// with its children. Returns true after a split; false, with
// nothing changed, without a document, with fewer than two selected instances, when the dialog is
// cancelled, or when the reference cannot be resolved or copied.
// Undo, in order: CHANGE last instance, NEWOBJ copy, CHANGE_SMALL per other instance, CHANGE_SMALL
// per object or tag still linking to the last instance (document order), DELETEOBJ last instance. One undo group; a refresh after a split.
Bool RunSplit(BaseDocument* doc) { return RunCommand(doc, SplitSelection); }
