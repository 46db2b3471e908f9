#include "per_entry_commands.h"

#include "instance_ops.h"
#include "scoped.h"
#include "settings.h"
#include "walk.h"

namespace reliability {
namespace {

void DeselectAll(BaseDocument* doc) {
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    doc->AddUndo(UNDOTYPE::BITS, op);
    op->DelBit(BIT_ACTIVE);
  }
}

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

String NewName(String base, Bool numbered, Int32 n) {
  if (numbered) base += String(".") + String::IntToString(n);
  return base;
}

void RenameInstance(BaseDocument* doc, BaseObject* instance, const String& name) {
  doc->AddUndo(UNDOTYPE::CHANGE_SMALL, instance);
  instance->SetName(name);
}

void RenameInstancesOf(BaseDocument* doc, BaseObject* reference, Bool followChain, Bool numbered) {
  const String base = reference->GetName();
  Int32 n = 1;
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    if (op->GetType() != Oinstance || GetReferenceObject(op, followChain) != reference) continue;
    RenameInstance(doc, op, NewName(base, numbered, n++));
  }
}

Bool RenameSelection(BaseDocument* doc) {
  UndoGroup undo(doc);
  ScopedAtomArray active;
  if (!active) return false;
  doc->GetActiveObjects(*active, GETACTIVEOBJECTFLAGS::CHILDREN);
  const Int32 keys = GetKeyboardQualifiers();
  const Bool shift = (keys & QSHIFT) != 0;
  const Bool ctrl = (keys & QCTRL) != 0;
  for (Int32 i = 0; i < active->GetCount(); ++i) {
    BaseObject* entry = static_cast<BaseObject*>(active->GetIndex(i));
    if (!entry) return false;
    if (entry->GetType() != Oinstance) {
      RenameInstancesOf(doc, entry, ctrl, shift);
      continue;
    }
    BaseObject* reference = GetReferenceObject(entry, ctrl);
    if (reference) RenameInstance(doc, entry, NewName(reference->GetName(), shift, i + 1));
  }
  return true;
}

}  // namespace

Bool PerEntrySelect::Execute(BaseDocument* doc, GeDialog* /*parentManager*/) {
  StopAllThreads();
  if (!doc) return false;
  UndoGroup undo(doc);
  ScopedAtomArray active;
  if (!active) return false;
  doc->GetActiveObjectsFilter(*active, false, NOTOK, Obase);
  const Int32 keys = GetKeyboardQualifiers();
  const Bool shift = (keys & QSHIFT) != 0;
  const Bool ctrl = (keys & QCTRL) != 0;
  DeselectAll(doc);
  for (Int32 i = 0; i < active->GetCount(); ++i) {
    C4DAtom* atom = active->GetIndex(i);
    if (!atom || !atom->IsInstanceOf(Obase)) continue;
    BaseObject* entry = static_cast<BaseObject*>(atom);
    BaseObject* target = entry->IsInstanceOf(Oinstance) ? GetReferenceObject(entry, ctrl) : entry;
    if (!target) continue;
    SelectInstancesOf(doc, target, ctrl, shift);
  }
  EventAdd();
  return true;
}

Bool PerEntryRename::Execute(BaseDocument* doc, GeDialog* /*parentManager*/) {
  if (!doc) return false;
  if (!RenameSelection(doc)) return false;
  EventAdd();
  return true;
}

}  // namespace reliability
