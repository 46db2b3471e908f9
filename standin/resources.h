// A module's resources: symbols (c4d_symbols.h), the en-US string table and the icons (TIFF images,
// decoded by bitmap.cpp with libtiff on POSIX systems and by bitmap_windows.cpp with the system's
// codecs on Windows). Fills the plugin_resource_path, resource_* and bitmap_* entries of the table.
#ifndef GEMLITH_STANDIN_RESOURCES_H
#define GEMLITH_STANDIN_RESOURCES_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "gemlith_api.h"

struct GmResource {
  std::map<std::string, int32_t> symbols;
  std::map<int32_t, std::string> strings;
};

struct GmBitmap {
  int32_t width = 0;
  int32_t height = 0;
  bool alpha = false;
  double pixel_ratio = 1;
  std::string path;  // the file it was read from
};

namespace standin {

// Parses `enum { NAME = 1000, NAME2, ... };`. Null with the reason in *why on malformed input.
bool ParseSymbols(const std::string& text, std::map<std::string, int32_t>* out, std::string* why);
// Parses `STRINGTABLE { NAME "text"; ... }` against the symbols.
bool ParseStrings(const std::string& text, const std::map<std::string, int32_t>& symbols,
                  std::map<int32_t, std::string>* out, std::string* why);
// Loads both files from `res_path`; null and a reason when either is missing or malformed.
std::unique_ptr<GmResource> LoadResource(const std::string& res_path, std::string* why);

// Null when the file is missing or not a readable TIFF (reason in *why).
std::unique_ptr<GmBitmap> LoadTiff(const std::string& path, double pixel_ratio, std::string* why);

// plugin_resource_path, resource_load, resource_free, resource_string, bitmap_load, bitmap_free.
void FillResourcesApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_RESOURCES_H
