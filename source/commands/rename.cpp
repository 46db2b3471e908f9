// Rename: gives instance objects the names of their references, numbered with Shift.
#include <utility>
#include <vector>

#include "commands/commands.h"
#include "instance_ops.h"
#include "scoped.h"
#include "settings.h"
#include "walk.h"

namespace {

// `base`, or with `numbered` `base` + "." + n in plain decimal digits ("Cube.10").
String NewName(String base, Bool numbered, Int32 n) {
  if (numbered) base += String(".") + String::IntToString(n);
  return base;
}

// Undo: CHANGE_SMALL for the instance, before its name changes.
void RenameInstance(BaseDocument* doc, BaseObject* instance, const String& name) {
  doc->AddUndo(UNDOTYPE::CHANGE_SMALL, instance);
  instance->SetName(name);
}

// Renames the instance objects matched to `reference`, numbering them 1, 2, ... in document order.
void RenameInstancesOf(BaseDocument* doc, BaseObject* reference, const TargetMatches& matches,
                       Bool numbered) {
  const String base = reference->GetName();
  Int32 n = 1;
  for (BaseObject* op : matches.Of(reference))
    RenameInstance(doc, op, NewName(base, numbered, n++));
}

// One walk over the document: groups every object of exactly the instance type by its reference
// (with followChain, the end of its chain, resolved once per instance), for the selected objects
// that are not of that type, up to the first empty slot of the list (the run ends there). No walk
// when there is no such object.
TargetMatches MatchInstances(BaseDocument* doc, AtomArray& active, Bool followChain) {
  std::vector<BaseObject*> references;
  for (Int32 i = 0; i < active.GetCount(); ++i) {
    BaseObject* entry = static_cast<BaseObject*>(active.GetIndex(i));
    if (!entry) break;
    if (entry->GetType() != Oinstance) references.push_back(entry);
  }
  TargetMatches matches(std::move(references));
  if (matches.Empty()) return matches;
  for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op)) {
    if (op->GetType() == Oinstance) matches.Add(GetReferenceObject(op, followChain), op);
  }
  return matches;
}

// The run inside its undo group. False when the array cannot be made or holds an empty slot (the
// renames made before stay).
Bool RenameSelection(BaseDocument* doc) {
  ScopedAtomArray active;
  if (!active) return false;
  // Selected objects below selected parents are entries too.
  doc->GetActiveObjects(*active, GETACTIVEOBJECTFLAGS::CHILDREN);
  const Int32 keys = GetKeyboardQualifiers();
  const Bool shift = (keys & QSHIFT) != 0;
  const Bool ctrl = (keys & QCTRL) != 0;

  const TargetMatches matches = MatchInstances(doc, *active, ctrl);
  for (Int32 i = 0; i < active->GetCount(); ++i) {
    BaseObject* entry = static_cast<BaseObject*>(active->GetIndex(i));
    if (!entry) return false;
    if (entry->GetType() != Oinstance) {
      RenameInstancesOf(doc, entry, matches, shift);
      continue;
    }
    // A selected instance is named after its own reference, numbered by its place in the list.
    BaseObject* reference = GetReferenceObject(entry, ctrl);
    if (reference) RenameInstance(doc, entry, NewName(reference->GetName(), shift, i + 1));
  }
  return true;
}

}  // namespace

// For each selected instance: its reference's name; for each other selected object: its name for
// all of its instances. Shift numbers the names, Ctrl follows chains of instances. One undo step,
// then a refresh. False without a document, without an array, or at an empty slot of the array.
//
// The entries are handled in list order, each reference numbering its instances in document order,
// but the document is walked only once: the walk groups the instances by reference first.
Bool RunRename(BaseDocument* doc) { return RunCommand(doc, RenameSelection); }
