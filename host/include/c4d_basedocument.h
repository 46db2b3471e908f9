// BaseDocument: a scene with its objects, selection and undo.
#ifndef GEMLITH_C4D_BASEDOCUMENT_H
#define GEMLITH_C4D_BASEDOCUMENT_H

#include "ge_math.h"
#include "ge_prepass.h"

class AtomArray;
class BaseObject;

// The pointer is the host's document handle.
class BaseDocument {
 public:
  Bool StartUndo(void);
  Bool EndUndo(void);
  // Records the undo entry of `type` for `data` (a list element) as it is now. The host runs
  // everything on one thread, so `allowFromThread` changes nothing.
  Bool AddUndo(UNDOTYPE type, void* data, Bool allowFromThread = false);
  void GetActiveObjects(AtomArray& selection, GETACTIVEOBJECTFLAGS flags) const;
  void GetActiveObjectsFilter(AtomArray& selection, Bool children, Int32 type,
                              Int32 instanceof) const;
  // The object selected last among the selected ones, or null.
  BaseObject* GetActiveObject(void);
  BaseObject* GetFirstObject(void);
  // Inserts `op` after `pred`, else as first child of `parent`, else first at the top level.
  void InsertObject(BaseObject* op, BaseObject* parent, BaseObject* pred, Bool checknames = false);

  BaseDocument() = delete;
  BaseDocument(const BaseDocument&) = delete;
  BaseDocument& operator=(const BaseDocument&) = delete;
};

#endif
