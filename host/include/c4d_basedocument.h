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
  // Adds an undo entry of `type` for `data` to the list begun with StartUndo: before the change, or
  // for a new object right after its insertion. (This host runs everything on one thread, so
  // `allowFromThread` changes nothing.)
  Bool AddUndo(UNDOTYPE type, void* data, Bool allowFromThread = false);
  void GetActiveObjects(AtomArray& selection, GETACTIVEOBJECTFLAGS flags) const;
  void GetActiveObjectsFilter(AtomArray& selection, Bool children, Int32 type,
                              Int32 instanceof) const;
  // The active object, or null when no object is active.
  BaseObject* GetActiveObject(void);
  BaseObject* GetFirstObject(void);
  // Inserts `op` after `pred`, else as first child of `parent`, else at the top of the hierarchy;
  // the document takes `op` over.
  void InsertObject(BaseObject* op, BaseObject* parent, BaseObject* pred, Bool checknames = false);

  BaseDocument() = delete;
  BaseDocument(const BaseDocument&) = delete;
  BaseDocument& operator=(const BaseDocument&) = delete;
};

#endif
