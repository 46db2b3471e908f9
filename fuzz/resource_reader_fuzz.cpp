// Fuzz target: the stand-in's reader of a module's resource (the symbols header and the string
// table). The input is the symbols text, a zero byte, then the string table text. Either parse
// succeeds or it fails with a reason; a crash, a hang or a failure without a reason is a finding.
// The string table is read against the parsed symbols, and also against fixed ones, so that it
// is exercised when the symbols part is malformed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "standin/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string symbols_text = input.substr(0, split);
  const std::string strings_text = split == std::string::npos ? "" : input.substr(split + 1);

  std::map<std::string, int32_t> symbols;
  std::string why;
  if (!standin::ParseSymbols(symbols_text, &symbols, &why)) {
    if (why.empty()) std::abort();
    symbols = {{"IDS_NAME", 1000}, {"IDS_HELP", 1001}, {"IDS_CHAIN_LIMIT", 1021}};
  }
  std::map<int32_t, std::string> strings;
  why.clear();
  if (!standin::ParseStrings(strings_text, symbols, &strings, &why) && why.empty()) std::abort();
  for (const auto& entry : strings) {
    bool known = false;  // every string belongs to a symbol
    for (const auto& s : symbols) known |= s.second == entry.first;
    if (!known) std::abort();
  }
  return 0;
}
