// An object's identity as a value that outlives the object: the bytes of its marker. A command that
// frees objects while it works through a list checks the list's entries against these keys, never
// through pointers that may have been freed.
#ifndef GEMLITH_MARKER_KEY_H
#define GEMLITH_MARKER_KEY_H

#include <cstddef>
#include <string>

#include "c4d.h"

using MarkerKey = std::string;

// The key of `node`; markers are never reused, so neither are keys. Empty only if the host gives
// no marker bytes, and then never equal to the key of a live object.
inline MarkerKey KeyOf(const BaseList2D& node) {
  void* data = nullptr;
  Int32 size = 0;
  node.GetMarker().GetMemory(data, size);
  if (!data || size <= 0) return MarkerKey();
  return MarkerKey(static_cast<const char*>(data), static_cast<size_t>(size));
}

#endif
