// GeData: one parameter or container value. DescID: a parameter address.
#ifndef GEMLITH_C4D_GEDATA_H
#define GEMLITH_C4D_GEDATA_H

#include <memory>

#include "c4d_basecontainer.h"
#include "c4d_string.h"
#include "ge_types.h"

class BaseDocument;
class BaseLink;
class BaseList2D;

class GeData {
 public:
  GeData() = default;
  GeData(Int32 v) : _type(DA_LONG), _i32(v) {}  // NOLINT
  GeData(const String& s) : _type(DA_STRING), _str(s) {}  // NOLINT
  GeData(const GeData& o);
  GeData& operator=(const GeData& o);
  GeData(GeData&&) noexcept = default;
  GeData& operator=(GeData&&) noexcept = default;
  ~GeData() = default;

  Int32 GetType() const { return _type; }
  Int32 GetInt32() const { return _type == DA_LONG ? _i32 : 0; }
  Float GetFloat() const { return _type == DA_REAL ? _real : 0.0; }
  const String& GetString() const { return _str; }
  // The contained container, or null.
  const BaseContainer* GetContainer() const { return _bc.get(); }
  // The linked element if it lies in `doc` and is an instance of `instanceof` (0: any), else null.
  BaseList2D* GetLinkAtom(const BaseDocument* doc, Int32 instanceof = 0) const;

  void SetInt32(Int32 v) { Clear(); _type = DA_LONG; _i32 = v; }
  void SetFloat(Float v) { Clear(); _type = DA_REAL; _real = v; }
  void SetString(const String& s) { Clear(); _type = DA_STRING; _str = s; }
  void SetContainer(const BaseContainer& bc);
  // Takes the link's target (the link itself stays the caller's).
  void SetBaseLink(const BaseLink& link);
  void SetLinkMarker(UInt64 marker) { Clear(); _type = DA_ALIASLINK; _marker = marker; }
  UInt64 GetLinkMarker() const { return _type == DA_ALIASLINK ? _marker : 0; }
  void Clear() { *this = GeData(); }

 private:
  Int32 _type = DA_NIL;
  Int32 _i32 = 0;
  Float _real = 0;
  UInt64 _marker = 0;
  String _str;
  std::unique_ptr<BaseContainer> _bc;
};

struct DescLevel {
  Int32 id = 0;
  Int32 dtype = 0;
  Int32 creator = 0;
  DescLevel(Int32 id_, Int32 dtype_ = 0, Int32 creator_ = 0) : id(id_), dtype(dtype_), creator(creator_) {}  // NOLINT
};

// A parameter address of one level.
class DescID {
 public:
  DescID(Int32 id) : _level(id) {}  // NOLINT
  DescID(const DescLevel& level) : _level(level) {}  // NOLINT
  const DescLevel& operator[](Int32) const { return _level; }
  Int32 GetDepth() const { return 1; }

 private:
  DescLevel _level;
};

#endif
