// Create instances: an instance in front of each selected object, a duplicate of each selected
// instance, or (Ctrl) every selected object replaced by an instance of the one selected last.
#include <unordered_set>
#include <vector>

#include "commands/commands.h"
#include "instance_ops.h"
#include "marker_key.h"
#include "scoped.h"
#include "settings.h"

namespace {

struct CreateKeys {
  Bool ctrl = false;   // replace mode
  Bool shift = false;  // replace mode: children of a replaced object move under the reference
  Bool alt = false;    // replace mode: children of a replaced object move under its instance
};

// Without Ctrl, an ordinary object: a new instance of it, with its matrix, in front of it.
// Undo: BITS for op (CreateInstanceOf), NEWOBJ for the instance once it is inserted.
void PutInstanceInFront(BaseDocument* doc, BaseObject* op) {
  BaseObject* instance = CreateInstanceOf(op);
  if (!instance) return;
  op->CopyMatrixTo(instance);
  InsertInFrontOf(doc, instance, op);
  doc->AddUndo(UNDOTYPE::NEWOBJ, instance);
}

// Without Ctrl, an instance object: a copy of it (children, link, selected bit word) in front of
// it, and the original deselected. Undo: BITS for the original, NEWOBJ for the copy.
void DuplicateInFront(BaseObject* op) {
  BaseDocument* doc = op->GetDocument();
  if (!doc) return;
  BaseObject* copy = static_cast<BaseObject*>(op->GetClone(COPYFLAGS::RECURSIONCHECK, nullptr));
  if (!copy) return;
  doc->AddUndo(UNDOTYPE::BITS, op);
  op->DelBit(BIT_ACTIVE);
  InsertInFrontOf(doc, copy, op);
  doc->AddUndo(UNDOTYPE::NEWOBJ, copy);
}

// With Ctrl: replaces `op` by a new instance of `reference` that takes op's place, matrix and bit
// word; op is deleted with whatever children it still has. The markers of every object deleted go
// into `deleted`. An object that holds the reference (or is it) is left unchanged, since deleting
// it would delete the reference; so is every object while the reference is itself an instance.
// Undo: CHANGE per child moved under the reference (Shift), BITS for the reference
// (CreateInstanceOf), NEWOBJ for the instance, CHANGE per child moved under the instance (Alt),
// DELETEOBJ for op.
void ReplaceByInstance(BaseDocument* doc, BaseObject* op, BaseObject* reference,
                       const CreateKeys& keys, std::unordered_set<MarkerKey>& deleted) {
  if (!reference || reference->IsInstanceOf(Oinstance) || IsSelfOrBelow(reference, op)) return;
  if (keys.shift) MoveChildren(op, reference);
  BaseObject* instance = CreateInstanceOf(reference);
  if (!instance) return;
  // Still ours: it takes op's bit word and matrix before it goes in.
  instance->SetAllBits(op->GetAllBits());
  op->CopyMatrixTo(instance);
  InsertInFrontOf(doc, instance, op);
  doc->AddUndo(UNDOTYPE::NEWOBJ, instance);
  if (keys.alt) MoveChildren(op, instance);  // after Shift there is nothing left to move

  // Remember what is deleted while it is still alive; later entries are checked against this.
  AddSubtreeKeys(op, deleted);
  DeleteObject(doc, op);
}

// The run inside its undo group. False when the selection array cannot be made or an entry of it
// is missing (the changes of earlier entries stay).
Bool CreateInstances(BaseDocument* doc) {
  ScopedAtomArray selection;
  if (!selection) return false;
  doc->GetActiveObjects(*selection,
                        GETACTIVEOBJECTFLAGS::CHILDREN | GETACTIVEOBJECTFLAGS::SELECTIONORDER);
  CreateKeys keys;
  keys.ctrl = IsQualifierHeld(QCTRL);
  keys.shift = IsQualifierHeld(QSHIFT);
  keys.alt = IsQualifierHeld(QALT);

  // Objects made during the run are not handled: the count is taken once.
  const Int32 count = selection->GetCount();

  // Replace mode deletes objects, and a selected object below a replaced one goes with it. Such an
  // entry is recognised by its marker, read here while every entry is alive (markers are never
  // reused), and skipped without touching the freed object.
  const std::vector<MarkerKey> markers = keys.ctrl ? KeysOf(*selection) : std::vector<MarkerKey>();
  std::unordered_set<MarkerKey> deleted;
  const auto gone = [&](Int32 i) { return keys.ctrl && deleted.count(markers[i]) != 0; };

  for (Int32 i = 0; i < count; ++i) {
    if (gone(i)) continue;
    BaseObject* op = static_cast<BaseObject*>(selection->GetIndex(i));
    if (!op) return false;
    if (keys.ctrl) {
      // The reference is the object selected last, taken anew for each entry.
      BaseObject* reference =
          gone(count - 1) ? nullptr : static_cast<BaseObject*>(selection->GetIndex(count - 1));
      if (op != reference) ReplaceByInstance(doc, op, reference, keys, deleted);
    } else if (op->IsInstanceOf(Oinstance)) {
      DuplicateInFront(op);
    } else {
      PutInstanceInFront(doc, op);
    }
  }
  return true;
}

}  // namespace

// Runs the selection through the instance, duplicate or replace step, as one undo step; asks the
// host to refresh afterwards, except after a false result. False only when there is no document,
// no selection array or a missing entry; true also when nothing was selected or nothing changed.
Bool RunCreate(BaseDocument* doc) { return RunCommand(doc, CreateInstances); }
