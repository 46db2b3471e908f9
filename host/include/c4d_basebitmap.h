// Images: BaseBitmap (decoded by the host) and AutoBitmap, an icon from the module's res folder.
#ifndef GEMLITH_C4D_BASEBITMAP_H
#define GEMLITH_C4D_BASEBITMAP_H

#include "c4d_string.h"
#include "ge_math.h"

struct GmBitmap;

// The pointer is the host's bitmap handle.
class BaseBitmap;

// An icon loaded from the module's resource folder, freed with the AutoBitmap.
class AutoBitmap {
 public:
  explicit AutoBitmap(const String& str, Float pixelRatio = 1.0);
  ~AutoBitmap();
  AutoBitmap(const AutoBitmap&) = delete;
  AutoBitmap& operator=(const AutoBitmap&) = delete;
  // Null when the file is missing or unreadable.
  operator BaseBitmap*() const { return reinterpret_cast<BaseBitmap*>(_bmp); }  // NOLINT

 private:
  GmBitmap* _bmp;
};

#endif
