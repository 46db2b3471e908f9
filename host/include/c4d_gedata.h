// GeData: one parameter or container value.
#ifndef GEMLITH_C4D_GEDATA_H
#define GEMLITH_C4D_GEDATA_H

#include <memory>

#include "c4d_basecontainer.h"
#include "c4d_string.h"
#include "ge_math.h"

class BaseDocument;
class BaseLink;
class C4DAtomGoal;

// Data types of a GeData.
enum DA {
  DA_NIL = 0,
  DA_LONG = 15,
  DA_REAL = 19,
  DA_STRING = 130,
  DA_CONTAINER = 132,
  DA_ALIASLINK = 133,
};

class GeData {
 public:
  GeData() = default;
  GeData(Int32 n) : _type(DA_LONG), _i32(n) {}  // NOLINT: implicit like the host's
  GeData(const String& n) : _type(DA_STRING), _str(n) {}  // NOLINT
  GeData(const GeData& n);
  GeData& operator=(const GeData& n);
  GeData(GeData&&) noexcept = default;
  GeData& operator=(GeData&&) noexcept = default;
  ~GeData() = default;

  Int32 GetType() const { return _type; }
  Int32 GetInt32() const { return _type == DA_LONG ? _i32 : 0; }
  Float GetFloat() const { return _type == DA_REAL ? _real : 0.0; }
  const String& GetString() const { return _str; }
  // The contained container, or null.
  const BaseContainer* GetContainer() const { return _bc.get(); }
  // The linked element of a link value, evaluated in `doc`; null if the element is not of type
  // `instanceof` (0: any).
  C4DAtomGoal* GetLinkAtom(const BaseDocument* doc, Int32 instanceof = 0) const;

  void SetInt32(Int32 v) { Clear(); _type = DA_LONG; _i32 = v; }
  void SetFloat(Float v) { Clear(); _type = DA_REAL; _real = v; }
  void SetString(const String& v) { Clear(); _type = DA_STRING; _str = v; }
  void SetContainer(const BaseContainer& v);
  // Takes the link's target (the link itself stays the caller's).
  void SetBaseLink(const BaseLink& v);
  void Clear() { *this = GeData(); }

  // The binding's own: a link value as the host's marker of the linked element (0: empty).
  void SetLinkMarker(UInt64 marker) { Clear(); _type = DA_ALIASLINK; _marker = marker; }
  UInt64 GetLinkMarker() const { return _type == DA_ALIASLINK ? _marker : 0; }

 private:
  Int32 _type = DA_NIL;
  Int32 _i32 = 0;
  Float _real = 0;
  UInt64 _marker = 0;
  String _str;
  std::unique_ptr<BaseContainer> _bc;
};

#endif
