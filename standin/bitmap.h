// Decoded images (TIFF: libtiff on POSIX systems, the system's codecs on Windows).
#ifndef GEMLITH_STANDIN_BITMAP_H
#define GEMLITH_STANDIN_BITMAP_H

#include <memory>
#include <string>

struct GmBitmap {
  int32_t width = 0;
  int32_t height = 0;
  bool alpha = false;
  double pixel_ratio = 1;
};

namespace standin {

// Null when the file is missing or not a readable TIFF (reason in *why).
std::unique_ptr<GmBitmap> LoadTiff(const std::string& path, double pixel_ratio, std::string* why);

}  // namespace standin

#endif  // GEMLITH_STANDIN_BITMAP_H
