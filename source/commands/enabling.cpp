#include "commands/enabling.h"

#include "ids.h"
#include "instance_ops.h"
#include "scoped.h"

namespace {

// Fills a fresh array with the active objects; null-safe result when the array cannot be made.
Int32 CountActive(BaseDocument* doc, GETACTIVEOBJECTFLAGS flags, ScopedAtomArray& arr) {
  if (!doc || !arr) return -1;
  doc->GetActiveObjects(*arr, flags);
  return arr->GetCount();
}

}  // namespace

Int32 StateSelection(BaseDocument* doc) {
  ScopedAtomArray arr;
  return CountActive(doc, GETACTIVEOBJECTFLAGS::NONE, arr) >= 1 ? CMD_ENABLED : 0;
}

Int32 StateInstanceSelected(BaseDocument* doc) {
  ScopedAtomArray arr;
  const Int32 count = CountActive(doc, GETACTIVEOBJECTFLAGS::CHILDREN, arr);
  for (Int32 i = 0; i < count; ++i) {
    C4DAtom* atom = arr->GetIndex(i);
    if (atom && atom->IsInstanceOf(Oinstance)) return CMD_ENABLED;
  }
  return 0;
}

Int32 StateTwoOrMore(BaseDocument* doc) {
  ScopedAtomArray arr;
  return CountActive(doc, GETACTIVEOBJECTFLAGS::CHILDREN, arr) >= 2 ? CMD_ENABLED : 0;
}

Int32 StateSwap(BaseDocument* doc) {
  if (!doc) return 0;
  BaseObject* op = doc->GetActiveObject();
  if (!op) return 0;
  if (op->IsInstanceOf(Oinstance)) return CMD_ENABLED;
  return GetSwapPartner(op, doc) ? CMD_ENABLED : 0;
}
