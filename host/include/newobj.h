// The host SDK's allocation macro for plugin data objects: null instead of an exception when out of
// memory.
#ifndef GEMLITH_NEWOBJ_H
#define GEMLITH_NEWOBJ_H

#include <cstring>
#include <new>

namespace gemlith_alloc {

// A new T in zero-filled memory, or null; freed with delete.
template <typename T>
T* NewClear() {
  void* mem = ::operator new(sizeof(T), std::nothrow);
  if (!mem) return nullptr;
  std::memset(mem, 0, sizeof(T));
  return ::new (mem) T();
}

}  // namespace gemlith_alloc

// NewObjClear(T): the SDK's macro takes constructor arguments after T; the module passes none, and
// a variadic macro called without them does not compile warning-free before C++20, so this one
// takes the type alone.
#define NewObjClear(...) gemlith_alloc::NewClear<__VA_ARGS__>()

#endif
