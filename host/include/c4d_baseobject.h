// BaseObject: an object of the scene.
#ifndef GEMLITH_C4D_BASEOBJECT_H
#define GEMLITH_C4D_BASEOBJECT_H

#include "c4d_baselist.h"

class BaseObject : public BaseList2D {
 public:
  // A new object of `type` in no document, or null.
  static BaseObject* Alloc(Int32 type);
  // Frees an object made with Alloc (or taken out of its document); sets the pointer to null.
  static void Free(BaseObject*& bl);

  BaseObject* GetNext(void) { return static_cast<BaseObject*>(GeListNode::GetNext()); }
  BaseObject* GetPred(void) { return static_cast<BaseObject*>(GeListNode::GetPred()); }
  BaseObject* GetUp(void) { return static_cast<BaseObject*>(GeListNode::GetUp()); }
  BaseObject* GetDown(void) { return static_cast<BaseObject*>(GeListNode::GetDown()); }

  // The local matrix, held by the object.
  const Matrix& GetMl(void) const;
  void SetMl(const Matrix& m);
  void CopyMatrixTo(BaseObject* dst);
};

#endif
