// A module's resource: symbols (c4d_symbols.h) and the en-US string table.
#ifndef GEMLITH_STANDIN_RESOURCES_H
#define GEMLITH_STANDIN_RESOURCES_H

#include <map>
#include <memory>
#include <string>

struct GmResource {
  std::map<std::string, int32_t> symbols;
  std::map<int32_t, std::string> strings;
};

namespace standin {

// Parses `enum { NAME = 1000, NAME2, ... };`. Null with the reason in *why on malformed input.
bool ParseSymbols(const std::string& text, std::map<std::string, int32_t>* out, std::string* why);
// Parses `STRINGTABLE { NAME "text"; ... }` against the symbols.
bool ParseStrings(const std::string& text, const std::map<std::string, int32_t>& symbols,
                  std::map<int32_t, std::string>* out, std::string* why);
// Loads both files from `res_path`; null and a reason when either is missing or malformed.
std::unique_ptr<GmResource> LoadResource(const std::string& res_path, std::string* why);

}  // namespace standin

#endif  // GEMLITH_STANDIN_RESOURCES_H
