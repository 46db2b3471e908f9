// Make editable: replaces each selected instance object by a full copy of what it refers to, at the
// instance's place, with its matrix, its children and the links that named it.
#include <unordered_set>
#include <vector>

#include "commands/commands.h"
#include "instance_loops.h"
#include "instance_ops.h"
#include "link_holders.h"
#include "marker_key.h"
#include "scoped.h"
#include "settings.h"

namespace {

// The modifier keys of one run, read once before anything changes.
struct MakeEditableKeys {
  Bool followChain;   // Ctrl: copy the end of the reference chain
  Bool dropCloned;    // Shift: drop the children the copy brought along
  Bool keepChildren;  // not Alt: the instance's own children move to the copy
};

// Frees every child of `obj` with its subtree. `obj` is a copy not yet inserted: nothing to record.
void FreeChildren(BaseObject* obj) {
  BaseObject* child = obj->GetDown();
  while (child) {
    BaseObject* next = child->GetNext();
    child->Remove();
    BaseObject::Free(child);
    child = next;
  }
}

// Replaces one instance object by an editable copy of its reference. Returns false, leaving the
// instance in place (its CHANGE entry stays recorded), when no copy can be made or what the
// instance shows loops (`loops`, found before the run changed anything). On success the markers of
// the freed instance and of whatever it still held are added to `freed`.
bool ReplaceByCopy(BaseDocument* doc, BaseObject* instance, Bool loops,
                   const MakeEditableKeys& keys, LinkHolders& holders,
                   std::unordered_set<MarkerKey>& freed) {
  BaseObject* copy = CloneReferenceObject(instance, keys.followChain);
  if (!copy) return false;
  // An instance whose display loops (inside its own reference, linking to itself, or showing
  // references that hold instances of each other) is left alone: the copy would hold instances
  // showing the copied reference again, and every further run would copy the copies, multiplying
  // the scene.
  if (loops) {
    BaseObject::Free(copy);
    return false;
  }

  // The copy is finished while it is still ours; after its NEWOBJ every change has an entry.
  if (keys.dropCloned) FreeChildren(copy);
  instance->CopyMatrixTo(copy);
  InsertInFrontOf(doc, copy, instance);
  doc->AddUndo(UNDOTYPE::NEWOBJ, copy);
  doc->AddUndo(UNDOTYPE::BITS, copy);
  copy->SetBit(BIT_ACTIVE);
  // Links that named the instance now name the copy, also those the copy brought along.
  holders.AddInserted(copy, instance);
  holders.TransferLinks(instance, copy);
  if (keys.keepChildren) MoveChildren(instance, copy);

  AddSubtreeKeys(instance, freed);
  holders.Forget(instance);
  DeleteObject(doc, instance);
  return true;
}

// The run inside its undo group. False when the working list cannot be made.
Bool MakeSelectionEditable(BaseDocument* doc) {
  MakeEditableKeys keys;
  keys.followChain = IsQualifierHeld(QCTRL);
  keys.dropCloned = IsQualifierHeld(QSHIFT);
  keys.keepChildren = !IsQualifierHeld(QALT);
  ScopedAtomArray selection;
  if (!selection) return false;
  doc->GetActiveObjects(*selection, GETACTIVEOBJECTFLAGS::CHILDREN);

  const Int32 count = selection->GetCount();
  const std::vector<MarkerKey> markers = KeysOf(*selection);
  // Found before anything changes: whether each entry's display loops, and the objects that link
  // to the instances (one walk of the document).
  std::vector<BaseObject*> instances;
  std::vector<Bool> loops(static_cast<size_t>(count), false);
  InstanceLoops shown;
  for (Int32 i = 0; i < count; ++i) {
    auto* obj = static_cast<BaseObject*>(selection->GetIndex(i));
    if (!obj || !obj->IsInstanceOf(Oinstance)) continue;
    instances.push_back(obj);
    loops[static_cast<size_t>(i)] = shown.Loops(GetReferenceObject(obj, false));
  }
  LinkHolders holders(doc, instances);

  std::unordered_set<MarkerKey> freed;
  for (Int32 i = 0; i < count; ++i) {
    // An entry freed with an instance above it is passed over.
    if (freed.count(markers[static_cast<size_t>(i)]) != 0) continue;
    auto* obj = static_cast<BaseObject*>(selection->GetIndex(i));
    if (!obj || !obj->IsInstanceOf(Oinstance)) continue;
    ReplaceByCopy(doc, obj, loops[static_cast<size_t>(i)], keys, holders, freed);
  }
  return true;
}

}  // namespace

// Replaces every selected instance object (selected children included) by a copy of its reference:
// the copy stands where the instance stood, takes its matrix, its children (not with Alt) and every
// link that named it, and is selected; the instance is freed. Ctrl copies the end of the chain,
// Shift drops the copy's own children. An instance whose display loops (InstanceLoops) is left
// alone, with only its CHANGE entry. Returns true when the run completed, also when nothing was
// an instance; false without a document or when the working list cannot be made.
// Undo per converted instance: CHANGE instance, NEWOBJ copy, BITS copy, CHANGE_SMALL per object
// whose link or record named the instance (in document order), CHANGE per moved child, DELETEOBJ
// instance. One undo group for the run, then a refresh.
//
// With Alt, a selected object below a selected instance is freed together with that instance
// before the loop reaches it. The list's entries are therefore identified by the markers taken
// before the loop, while every entry is alive, and the markers of everything freed are remembered:
// an entry whose marker was freed is skipped without its pointer ever being followed.
Bool RunMakeEditable(BaseDocument* doc) { return RunCommand(doc, MakeSelectionEditable); }
