// Description: the host's description of an object type's parameters.
#ifndef GEMLITH_C4D_DESCRIPTION_H
#define GEMLITH_C4D_DESCRIPTION_H

#include "c4d_gedata.h"
#include "ge_types.h"

class AtomArray;
class BaseContainer;

// The pointer is the host's description handle.
class Description {
 public:
  static Description* Alloc();
  static void Free(Description*& desc);

  Bool LoadDescription(Int32 id);
  // The description container of the parameter (owned by the description), or null.
  const BaseContainer* GetParameterI(const DescID& id, AtomArray* ar);

  Description() = delete;
  Description(const Description&) = delete;
  Description& operator=(const Description&) = delete;
};

#endif
