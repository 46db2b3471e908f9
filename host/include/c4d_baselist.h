// The host's list elements: C4DAtom → C4DAtomGoal → GeListNode → BaseList2D; their markers,
// arrays of them (AtomArray) and links to them (BaseLink).
//
// A pointer to any of these classes is a host handle; the classes have no data of their own and are
// never created by value. The module may keep such a pointer only for the length of one host call,
// and never after the element was freed.
#ifndef GEMLITH_C4D_BASELIST_H
#define GEMLITH_C4D_BASELIST_H

#include "c4d_gedata.h"
#include "c4d_string.h"
#include "ge_math.h"
#include "ge_prepass.h"

class AliasTrans;
class BaseContainer;
class BaseDocument;
class DescID;

// Messages.
#define MSG_UPDATE 5

// The identity the host keeps for an element through undo and redo; seen through a reference to
// the element's own marker, so it lives as long as the element.
class GeMarker {
 public:
  Bool IsPopulated() const;
  Bool IsEqual(const GeMarker& m) const;
  // 0 when both are the same marker.
  Int32 Compare(const GeMarker& m) const;
  // The marker's bytes (owned by the marker; not to be freed).
  void GetMemory(void*& data, Int32& size) const;

  GeMarker() = delete;
  GeMarker(const GeMarker&) = delete;
  GeMarker& operator=(const GeMarker&) = delete;
};

class C4DAtom {
 public:
  Int32 GetType() const;
  Bool IsInstanceOf(Int32 id) const;
  // A copy in no document, or null. `trn` is not used.
  C4DAtom* GetClone(COPYFLAGS flags, AliasTrans* trn);
  Bool GetParameter(const DescID& id, GeData& t_data, DESCFLAGS_GET flags);
  Bool SetParameter(const DescID& id, const GeData& t_data, DESCFLAGS_SET flags);
  Bool Message(Int32 type, void* data = nullptr);

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
  // Takes the element out of its list; the caller then frees it or passes it on.
  void Remove();
  void InsertUnderLast(GeListNode* bl);
  BaseDocument* GetDocument();
};

class BaseList2D : public GeListNode {
 public:
  String GetName() const;
  void SetName(const String& name);
  void SetBit(Int32 mask) { SetAllBits(GetAllBits() | mask); }
  Bool GetBit(Int32 mask) const { return (GetAllBits() & mask) == mask; }
  void DelBit(Int32 mask) { SetAllBits(GetAllBits() & ~mask); }
  void ToggleBit(Int32 mask);
  Int32 GetAllBits() const;
  void SetAllBits(Int32 bits);
  // The element's own data container, owned by the element; never null.
  const BaseContainer* GetDataInstance() const;
  BaseContainer* GetDataInstance();
  // Makes all links that point to this element point to `dst`; `undolink` has to be false.
  Bool TransferGoal(BaseList2D* dst, Bool undolink);
  const GeMarker& GetMarker() const;
};

// A list of atoms, allocated by the host. The pointer is the host's array handle.
class AtomArray {
 public:
  static AtomArray* Alloc();
  static void Free(AtomArray*& obj);

  Int32 GetCount() const;
  // The entry at `idx`, from 0 to GetCount() - 1.
  C4DAtom* GetIndex(Int32 idx) const;
  Bool Append(C4DAtom* obj);
  Bool Remove(C4DAtom* obj);
  // Keeps the entries of type `type` (NOTOK: any) that are instances of `instance`. The host has
  // no generators, so `generators` changes nothing.
  void FilterObject(Int32 type, Int32 instance, Bool generators = false);

  AtomArray() = delete;
  AtomArray(const AtomArray&) = delete;
  AtomArray& operator=(const AtomArray&) = delete;
};

// A link to a list element that keeps the element's identity. The pointer is the host's link
// handle.
class BaseLink {
 public:
  static BaseLink* Alloc();
  static void Free(BaseLink*& link);

  BaseList2D* GetLink(const BaseDocument* doc, Int32 instanceof = 0) const;
  void SetLink(C4DAtomGoal* list);

  // The binding's own: the marker of the linked element (0: empty).
  UInt64 GetLinkMarker() const;

  BaseLink() = delete;
  BaseLink(const BaseLink&) = delete;
  BaseLink& operator=(const BaseLink&) = delete;
};

#endif
