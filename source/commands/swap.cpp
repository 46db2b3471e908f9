// Swap: exchanges the active object and its partner (the object an instance links to, or the object
// an earlier swap remembered in the record), so that a second Swap exchanges them back.
#include "commands/commands.h"
#include "ids.h"
#include "instance_ops.h"
#include "link_holders.h"
#include "scoped.h"
#include "settings.h"

namespace {

// The object the active object is to be exchanged with: for an instance object the object it links
// to directly (which may itself be an instance); for any other object the one its record names in
// `doc`. Null when there is none.
BaseObject* FindSwapPartner(BaseDocument* doc, BaseObject* active) {
  if (active->IsInstanceOf(Oinstance)) return GetReferenceObject(active, false);
  return GetSwapPartner(active, doc);
}

// Replaces the whole record of `obj` by `record`, which holds only the swap partner.
void WriteSwapRecord(BaseObject* obj, const BaseContainer& record) {
  BaseContainer* data = obj->GetDataInstance();
  if (data) data->SetContainer(ID_GEMLITH, record);
}

// The swap itself, inside the caller's undo group. Every refusal happens before the first change,
// so a false result leaves the document exactly as it was.
bool SwapActiveObject(BaseDocument* doc) {
  BaseObject* active = doc->GetActiveObject();
  if (!active) return false;
  BaseObject* partner = FindSwapPartner(doc, active);
  if (!partner) return false;
  // Refuse a partner that is the active object itself or lies above or below it: the moves would
  // put an object under itself, or into the subtree that is freed at the end.
  if (IsSelfOrBelow(partner, active) || IsSelfOrBelow(active, partner)) return false;

  BaseObject* const oldParent = active->GetUp();
  BaseObject* const oldPred = active->GetPred();
  const Matrix oldMl = active->GetMl();
  const Bool flatten = IsQualifierHeld(QCTRL);

  // Everything the run needs is made before the first change, so that a failure leaves the
  // document as it was: the new record, the copy and, with Ctrl, the list of descendants.
  BaseContainer record;
  BaseObject* const remembered = active->IsInstanceOf(Oinstance) ? active : nullptr;
  record.SetLink(RECORD_SWAP_PARTNER, remembered);
  if (record.FindIndex(RECORD_SWAP_PARTNER) == NOTOK) return false;  // the record could not be made
  BaseObject* copy = static_cast<BaseObject*>(partner->GetClone(COPYFLAGS::NO_HIERARCHY, nullptr));
  if (!copy) return false;
  ScopedAtomArray descendants(flatten);
  if (flatten && !descendants) {
    BaseObject::Free(copy);  // never inserted, so still ours
    return false;
  }

  // Children: the copy takes the partner's; with Ctrl it takes the active object's instead, and
  // the active object receives every descendant of the partner as a direct child, in pre-order.
  if (!flatten) {
    MoveChildren(partner, copy);
  } else {
    AtomArray* list = descendants.get();
    CollectDescendants(partner, list);
    MoveChildren(active, copy);
    for (Int32 i = 0; i < list->GetCount(); ++i) {
      auto* node = static_cast<BaseObject*>(list->GetIndex(i));
      if (!node) continue;
      doc->AddUndo(UNDOTYPE::DELETEOBJ, node);
      node->Remove();
      node->InsertUnderLast(active);
    }
  }

  // Exchange places and local matrices: the active object goes in front of the partner with the
  // partner's matrix; the copy takes the active object's old matrix (and, below, its old place).
  doc->AddUndo(UNDOTYPE::DELETEOBJ, active);
  active->Remove();
  doc->AddUndo(UNDOTYPE::CHANGE, active);
  active->SetMl(copy->GetMl());
  doc->AddUndo(UNDOTYPE::CHANGE, partner);
  copy->SetMl(oldMl);
  InsertInFrontOf(doc, active, partner);

  // The copy of a reference remembers the instance, so that Swap on the copy swaps back; an object
  // swapped back forgets its partner.
  WriteSwapRecord(remembered ? copy : active, record);

  doc->InsertObject(copy, oldParent, oldPred, false);
  doc->AddUndo(UNDOTYPE::NEWOBJ, copy);
  // Links to the partner (the active object's own link among them) now name the copy. The copy and
  // everything moved below it are in the document by now, so links held there move too.
  LinkHolders holders(doc, {partner});
  holders.TransferLinks(partner, copy);

  // The copy takes the partner's bit word; the selection then moves from one to the other.
  copy->SetAllBits(partner->GetAllBits());
  active->ToggleBit(BIT_ACTIVE);
  copy->ToggleBit(BIT_ACTIVE);

  // The partner has no children left (all were moved), so only the partner itself is freed.
  DeleteObject(doc, partner);
  return true;
}

}  // namespace

// Exchanges the document's active object and its partner: places in the hierarchy and local
// matrices trade over, a copy of the partner (without its children) takes the active object's
// place, links to the partner move to the copy, and the partner is freed. Ctrl decides where the
// children go. Returns true after a swap; false, with nothing changed, when there is no document,
// no active object, no partner, a partner that is the active object or lies above or below it, or
// the record, the copy or the working array cannot be made.
// Undo, in order: CHANGE per moved child; with Ctrl DELETEOBJ per descendant of the partner;
// DELETEOBJ and CHANGE for the active object; CHANGE for the partner; NEWOBJ for the copy;
// CHANGE_SMALL per object whose link or record named the partner, in document order; DELETEOBJ for
// the partner. One undo group; a refresh after a swap.
Bool RunSwap(BaseDocument* doc) { return RunCommand(doc, SwapActiveObject); }
