// The module's resource (string tables) and icons.
#ifndef GEMLITH_C4D_RESOURCE_H
#define GEMLITH_C4D_RESOURCE_H

#include "c4d_string.h"
#include "ge_types.h"

struct GmBitmap;
struct GmResource;

// The module's "res" folder.
Filename GeGetPluginResourcePath();

class GeResource {
 public:
  GeResource() = default;
  // Releasing is the module's end action's job (Free); the host may be gone by the time a static
  // resource object is destroyed, so the destructor does not call it.
  ~GeResource() = default;
  GeResource(const GeResource&) = delete;
  GeResource& operator=(const GeResource&) = delete;

  // Loads the resource from the module's "res" folder; a second call returns the first call's
  // result without loading again.
  Bool Init();
  Bool Init(const Filename& path);
  // The string with this id, or an empty string while nothing is loaded or the id is unknown.
  String LoadString(Int32 id) const;
  void Free();
  Bool IsLoaded() const { return _res != nullptr; }

 private:
  GmResource* _res = nullptr;
  bool _tried = false;
  bool _result = false;
};

// An image the host decoded.
class BaseBitmap;

// An icon loaded from the module's resource folder, freed with the AutoBitmap.
class AutoBitmap {
 public:
  explicit AutoBitmap(const String& name, Float pixelRatio = 1.0);
  ~AutoBitmap();
  AutoBitmap(const AutoBitmap&) = delete;
  AutoBitmap& operator=(const AutoBitmap&) = delete;
  // Null when the file is missing or unreadable.
  operator BaseBitmap*() const { return reinterpret_cast<BaseBitmap*>(_bmp); }  // NOLINT

 private:
  GmBitmap* _bmp;
};

#endif
