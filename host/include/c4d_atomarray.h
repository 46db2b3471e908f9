// AtomArray: a list of atoms, allocated by the host.
#ifndef GEMLITH_C4D_ATOMARRAY_H
#define GEMLITH_C4D_ATOMARRAY_H

#include "ge_types.h"

class C4DAtom;

// The pointer is the host's array handle.
class AtomArray {
 public:
  static AtomArray* Alloc();
  static void Free(AtomArray*& arr);

  Int32 GetCount() const;
  // The entry at `idx`, or null outside the range.
  C4DAtom* GetIndex(Int32 idx) const;
  Bool Append(C4DAtom* obj);
  Bool Remove(C4DAtom* obj);
  // Keeps the entries of type `type` (NOTOK: any) that are instances of `instance`.
  void FilterObject(Int32 type, Int32 instance);

  AtomArray() = delete;
  AtomArray(const AtomArray&) = delete;
  AtomArray& operator=(const AtomArray&) = delete;
};

#endif
