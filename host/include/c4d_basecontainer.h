// BaseContainer: an ordered set of id → value elements, held by the host.
//
// A container the module makes (a local value) owns its host container and frees it with itself.
// A container the host owns (an object's data, a record inside it, the stored preferences) is seen
// through a pointer the host hands out; the module never frees those.
#ifndef GEMLITH_C4D_BASECONTAINER_H
#define GEMLITH_C4D_BASECONTAINER_H

#include "c4d_string.h"
#include "ge_types.h"

struct GmContainer;
class BaseDocument;
class BaseList2D;
class C4DAtomGoal;
class GeData;

class BaseContainer {
 public:
  // A new empty container. If the host cannot allocate one, the container is invalid: reads give
  // their defaults and writes are dropped.
  BaseContainer();
  BaseContainer(const BaseContainer& src);
  BaseContainer& operator=(const BaseContainer& src);
  ~BaseContainer();

  bool IsValid() const { return _h != nullptr; }

  Int32 GetInt32(Int32 id, Int32 preset = 0) const;
  void SetInt32(Int32 id, Int32 value);
  String GetString(Int32 id, const String& preset = String()) const;
  void SetString(Int32 id, const String& value);
  // The linked element if it lies in `doc` and is an instance of `instanceof` (0: any), else null.
  BaseList2D* GetLink(Int32 id, const BaseDocument* doc, Int32 instanceof = 0) const;
  // Stores a link to `link` (null: an empty link).
  void SetLink(Int32 id, C4DAtomGoal* link);
  // The sub-container under `id`, owned by this container, or null.
  BaseContainer* GetContainerInstance(Int32 id);
  const BaseContainer* GetContainerInstance(Int32 id) const;
  // Stores a copy of `bc` under `id`, replacing what was there.
  void SetContainer(Int32 id, const BaseContainer& bc);
  GeData GetData(Int32 id) const;
  void SetData(Int32 id, const GeData& value);
  Bool RemoveData(Int32 id);

  Int32 GetCount() const;
  // The id of the element at position `index`, or NOTOK.
  Int32 GetIndexId(Int32 index) const;
  // The value of the element at position `index` (empty outside the range).
  GeData GetIndexData(Int32 index) const;

  GmContainer* Handle() const { return _h; }

 private:
  // The only member: a host-owned container handle points at a word holding the handle itself, so
  // such a handle can be viewed as a BaseContainer.
  GmContainer* _h;
};

#endif
