// Parameter addresses (DescLevel, DescID) and the host's description of an object type's
// parameters.
#ifndef GEMLITH_LIB_DESCRIPTION_H
#define GEMLITH_LIB_DESCRIPTION_H

#include "ge_math.h"

class AtomArray;
class BaseContainer;

// Data types of description parameters.
enum { DTYPE_LONG = 15 };

// Elements of a parameter's description container.
enum { DESC_CYCLE = 14 };

struct DescLevel {
  Int32 id;
  Int32 dtype;
  Int32 creator;
  DescLevel(Int32 t_id) : id(t_id), dtype(0), creator(0) {}  // NOLINT: implicit like the host's
  DescLevel(Int32 t_id, Int32 t_datatype, Int32 t_creator)
      : id(t_id), dtype(t_datatype), creator(t_creator) {}
};

// A parameter address of one level.
class DescID {
 public:
  DescID(Int32 id1) : _level(id1) {}               // NOLINT
  DescID(const DescLevel& id1) : _level(id1) {}    // NOLINT
  const DescLevel& operator[](Int32 pos) const;
  Int32 GetDepth() const { return 1; }

 private:
  DescLevel _level;
};

inline const DescLevel& DescID::operator[](Int32 /*pos*/) const { return _level; }

// The pointer is the host's description handle.
class Description {
 public:
  static Description* Alloc();
  static void Free(Description*& description);

  Bool LoadDescription(Int32 id);
  // The information container of the parameter, owned by the description. (`ar` is not used here.)
  BaseContainer* GetParameterI(const DescID& id, AtomArray* ar);

  Description() = delete;
  Description(const Description&) = delete;
  Description& operator=(const Description&) = delete;
};

#endif
