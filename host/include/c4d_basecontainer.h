// BaseContainer: an ordered set of id → value elements, held by the host.
//
// A container the module makes (a local value) owns its host container and frees it with itself.
// A container the host owns (an object's data, a record inside it, the stored preferences) is seen
// through a pointer the host hands out; the module never frees those.
#ifndef GEMLITH_C4D_BASECONTAINER_H
#define GEMLITH_C4D_BASECONTAINER_H

#include "c4d_string.h"
#include "ge_math.h"

struct GmContainer;
class BaseDocument;
class BaseList2D;
class C4DAtomGoal;
class GeData;

class BaseContainer {
 public:
  // A new empty container. (The binding's own: if the host cannot allocate one, reads give their
  // defaults and writes are dropped.)
  BaseContainer();
  BaseContainer(const BaseContainer& n);
  const BaseContainer& operator=(const BaseContainer& n);
  ~BaseContainer();

  Int32 GetInt32(Int32 id, Int32 preset = 0) const;
  void SetInt32(Int32 id, Int32 l);
  // The linked element, evaluated in `doc`; null if the link is broken or the element is not of
  // type `instanceof` (0: any).
  BaseList2D* GetLink(Int32 id, const BaseDocument* doc, Int32 instanceof = 0) const;
  // Stores a link to `link` (null: an empty link).
  void SetLink(Int32 id, C4DAtomGoal* link);
  // The sub-container under `id`, owned by this container, or null.
  BaseContainer* GetContainerInstance(Int32 id);
  const BaseContainer* GetContainerInstance(Int32 id) const;
  // Stores a copy of `s` under `id`, replacing what was there.
  void SetContainer(Int32 id, const BaseContainer& s);
  // The position of the element `id`, or NOTOK when there is none. `ppData` is not supported: it
  // must be null.
  Int32 FindIndex(Int32 id, GeData** ppData = nullptr) const;

  // The binding's own: the host's container handle (null when it could not be allocated).
  GmContainer* Handle() const { return _h; }

 private:
  // The only member: a host-owned container handle points at a word holding the handle itself, so
  // such a handle can be viewed as a BaseContainer.
  GmContainer* _h;
};

#endif
