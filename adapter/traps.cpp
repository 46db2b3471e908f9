// Named traps (see traps.h): a fixed pool of distinct functions, each knowing its index.
#include "traps.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace adapter {
namespace {

// Enough for the 2,223 table entries and 675 kernel slots of the interface, with room to grow.
constexpr size_t kTraps = 4096;

std::vector<std::string>& Names() {
  static std::vector<std::string> names;
  return names;
}

[[noreturn]] void Fire(size_t index) {
  const auto& names = Names();
  std::fprintf(stderr, "gemlith adapter: the module called %s, which the adapter does not provide\n",
               index < names.size() ? names[index].c_str() : "an unnamed entry");
  std::fflush(stderr);
  std::abort();
}

template <size_t N>
void Trap() {
  Fire(N);
}

template <size_t... N>
const TrapFn* Pool(std::index_sequence<N...>) {
  static const TrapFn pool[] = {&Trap<N>...};
  return pool;
}

const TrapFn* ThePool() { return Pool(std::make_index_sequence<kTraps>()); }

}  // namespace

TrapFn NamedTrap(const std::string& what) {
  auto& names = Names();
  if (names.size() == kTraps) {
    std::fprintf(stderr, "gemlith adapter: more than %zu entries to trap (%s)\n", kTraps, what.c_str());
    std::abort();
  }
  names.push_back(what);
  return ThePool()[names.size() - 1];
}

const char* TrapName(const void* fn) {
  const TrapFn* pool = ThePool();
  const auto& names = Names();
  for (size_t i = 0; i < names.size(); ++i) {
    if (reinterpret_cast<const void*>(pool[i]) == fn) return names[i].c_str();
  }
  return nullptr;
}

}  // namespace adapter
