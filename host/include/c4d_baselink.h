// BaseLink: a link to a list element that keeps the element's identity.
#ifndef GEMLITH_C4D_BASELINK_H
#define GEMLITH_C4D_BASELINK_H

#include "ge_types.h"

class BaseDocument;
class BaseList2D;
class C4DAtomGoal;

// The pointer is the host's link handle.
class BaseLink {
 public:
  static BaseLink* Alloc();
  static void Free(BaseLink*& link);

  void SetLink(C4DAtomGoal* atom);
  BaseList2D* GetLink(const BaseDocument* doc, Int32 instanceof = 0) const;
  UInt64 GetMarker() const;

  BaseLink() = delete;
  BaseLink(const BaseLink&) = delete;
  BaseLink& operator=(const BaseLink&) = delete;
};

#endif
