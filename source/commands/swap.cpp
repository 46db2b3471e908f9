// Swap: exchanges the active object and its partner (the object an instance links to, or the object
// an earlier swap remembered in the record), so that a second Swap exchanges them back.
#include "commands/commands.h"
#include "ids.h"
#include "instance_ops.h"
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
  // Refuse a partner that is the active object itself or lies above or below it: the exchange
  // would put an object under itself.
  if (IsSelfOrBelow(partner, active) || IsSelfOrBelow(active, partner)) return false;

  BaseObject* const oldParent = active->GetUp();
  BaseObject* const oldPred = active->GetPred();
  const Matrix activeMl = active->GetMl();
  const Matrix partnerMl = partner->GetMl();
  const Bool flatten = IsQualifierHeld(QCTRL);

  // Everything the run needs is made before the first change, so that a failure leaves the
  // document as it was: the new record and, with Ctrl, the list of descendants.
  BaseContainer record;
  BaseObject* const remembered = active->IsInstanceOf(Oinstance) ? active : nullptr;
  record.SetLink(RECORD_SWAP_PARTNER, remembered);
  if (record.FindIndex(RECORD_SWAP_PARTNER) == NOTOK) return false;  // the record could not be made
  ScopedAtomArray descendants(flatten);
  if (flatten && !descendants) return false;

  // Children stay with their parents; with Ctrl the partner takes the active object's children,
  // and the active object receives every descendant of the partner as a direct child, in
  // pre-order (collected before the partner receives anything).
  if (flatten) {
    AtomArray* list = descendants.get();
    CollectDescendants(partner, list);
    MoveChildren(active, partner);
    for (Int32 i = 0; i < list->GetCount(); ++i) {
      auto* node = static_cast<BaseObject*>(list->GetIndex(i));
      if (!node) continue;
      doc->AddUndo(UNDOTYPE::CHANGE, node);
      node->Remove();
      node->InsertUnderLast(active);
    }
  }

  // The two objects trade places and local matrices. When the partner stood directly in front of
  // the active object, the active object now stands there, and the partner's new place is after it.
  doc->AddUndo(UNDOTYPE::CHANGE, active);
  active->Remove();
  InsertInFrontOf(doc, active, partner);
  active->SetMl(partnerMl);
  doc->AddUndo(UNDOTYPE::CHANGE, partner);
  partner->Remove();
  doc->InsertObject(partner, oldParent, oldPred == partner ? active : oldPred, false);
  partner->SetMl(activeMl);

  // The reference remembers the instance, so that Swap on it swaps back; an object swapped back
  // forgets its partner. Both objects have their CHANGE entries by now.
  WriteSwapRecord(remembered ? partner : active, record);

  // The selection moves from one to the other.
  doc->AddUndo(UNDOTYPE::BITS, active);
  active->ToggleBit(BIT_ACTIVE);
  doc->AddUndo(UNDOTYPE::BITS, partner);
  partner->ToggleBit(BIT_ACTIVE);
  return true;
}

}  // namespace

// Exchanges the document's active object and its partner, the objects themselves: places in the
// hierarchy and local matrices trade over, and Ctrl decides where the children go. Nothing is
// copied or freed, so every link to either object stays valid, and the cost does not depend on the
// size of the document. Returns true after a swap; false, with nothing changed, when there is no
// document, no active object, no partner, a partner that is the active object or lies above or
// below it, or the record or the working array cannot be made.
// Undo, in order: with Ctrl CHANGE per child of the active object and per descendant of the
// partner; CHANGE for the active object; CHANGE for the partner; BITS for the active object; BITS
// for the partner. One undo group; a refresh after a swap.
Bool RunSwap(BaseDocument* doc) { return RunCommand(doc, SwapActiveObject); }
