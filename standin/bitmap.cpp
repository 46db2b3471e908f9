// Resources: decoding the TIFF icons with libtiff (POSIX systems; Windows: bitmap_windows.cpp).
#ifndef _WIN32

#include "resources.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace standin {

namespace {

thread_local std::string* g_tiff_error = nullptr;

void OnTiffError(const char* module, const char* fmt, va_list ap) {
  if (!g_tiff_error) return;
  char buf[512];
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  *g_tiff_error = std::string(module ? module : "libtiff") + ": " + buf;
}

}  // namespace

std::unique_ptr<GmBitmap> LoadTiff(const std::string& path, double pixel_ratio, std::string* why) {
  std::string error;
  g_tiff_error = &error;
  TIFFErrorHandler old_error = TIFFSetErrorHandler(OnTiffError);
  TIFFErrorHandler old_warning = TIFFSetWarningHandler(nullptr);

  std::unique_ptr<GmBitmap> bmp;
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) {
    *why = path + ": " + (error.empty() ? "cannot be opened" : error);
  } else {
    uint32_t w = 0, h = 0;
    uint16_t samples = 1, extra = 0;
    uint16_t* extra_types = nullptr;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra, &extra_types);
    if (w == 0 || h == 0 || w > 16384 || h > 16384) {
      *why = path + ": unusable image size";
    } else {
      // Decode for real: an icon that cannot be decoded counts as unreadable.
      std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
      if (!TIFFReadRGBAImageOriented(tif, w, h, pixels.data(), ORIENTATION_TOPLEFT, 0)) {
        *why = path + ": " + (error.empty() ? "cannot be decoded" : error);
      } else {
        bmp = std::make_unique<GmBitmap>();
        bmp->width = static_cast<int32_t>(w);
        bmp->height = static_cast<int32_t>(h);
        bmp->alpha = extra > 0 || samples == 4 || samples == 2;
        bmp->pixel_ratio = pixel_ratio;
      }
    }
    TIFFClose(tif);
  }
  TIFFSetErrorHandler(old_error);
  TIFFSetWarningHandler(old_warning);
  g_tiff_error = nullptr;
  return bmp;
}

}  // namespace standin

#endif  // _WIN32
