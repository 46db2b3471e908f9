// The host's list elements: C4DAtom → C4DAtomGoal → GeListNode → BaseList2D.
//
// A pointer to any of these classes is the host's node handle; the classes have no data of their
// own and are never created by value. The module may keep such a pointer only for the length of one
// host call, and never after the element was freed.
#ifndef GEMLITH_C4D_BASELIST_H
#define GEMLITH_C4D_BASELIST_H

#include "c4d_gedata.h"
#include "c4d_string.h"
#include "ge_types.h"

class AliasTrans;
class BaseContainer;
class BaseDocument;

class C4DAtom {
 public:
  Int32 GetType() const;
  Bool IsInstanceOf(Int32 id) const;
  // A copy in no document, or null. `trn` is not used.
  C4DAtom* GetClone(COPYFLAGS flags, AliasTrans* trn) const;
  Bool GetParameter(const DescID& id, GeData& t_data, DESCFLAGS_GET flags);
  Bool SetParameter(const DescID& id, const GeData& t_data, DESCFLAGS_SET flags);
  Bool Message(Int32 type, void* data = nullptr);
  // The identity the host keeps for this element through undo and redo.
  UInt64 GetMarker() const;

  C4DAtom() = delete;
  C4DAtom(const C4DAtom&) = delete;
  C4DAtom& operator=(const C4DAtom&) = delete;
};

class C4DAtomGoal : public C4DAtom {};

class GeListNode : public C4DAtomGoal {
 public:
  GeListNode* GetNext();
  GeListNode* GetPred();
  GeListNode* GetUp();
  GeListNode* GetDown();
  // Takes the element, with its subtree, out of its list.
  void Remove();
  void InsertUnderLast(GeListNode* parent);
  BaseDocument* GetDocument();
};

class BaseList2D : public GeListNode {
 public:
  String GetName() const;
  void SetName(const String& name);
  Int32 GetAllBits() const;
  void SetAllBits(Int32 bits);
  Bool GetBit(Int32 mask) const { return (GetAllBits() & mask) != 0; }
  void SetBit(Int32 mask) { SetAllBits(GetAllBits() | mask); }
  void DelBit(Int32 mask) { SetAllBits(GetAllBits() & ~mask); }
  void ToggleBit(Int32 mask) { SetAllBits(GetAllBits() ^ mask); }
  // The element's own data container, or null.
  BaseContainer* GetDataInstance();
  // Makes every link in the document that points to this element point to `dst`.
  Bool TransferGoal(BaseList2D* dst, Bool undolink);
};

#endif
