// BaseTag: a tag of an object. Tags are list elements with data of their own, not objects.
#ifndef GEMLITH_C4D_BASETAG_H
#define GEMLITH_C4D_BASETAG_H

#include "c4d_baselist.h"

class BaseTag : public BaseList2D {
 public:
  BaseTag* GetNext(void) { return static_cast<BaseTag*>(GeListNode::GetNext()); }
  BaseTag* GetPred(void) { return static_cast<BaseTag*>(GeListNode::GetPred()); }
};

#endif
