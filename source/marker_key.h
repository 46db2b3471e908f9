// An object's identity as a value that outlives the object: the bytes of its marker. A command that
// frees objects while it works through a list checks the list's entries against these keys, never
// through pointers that may have been freed.
#ifndef GEMLITH_MARKER_KEY_H
#define GEMLITH_MARKER_KEY_H

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "c4d.h"
#include "walk.h"

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

// The keys of the entries of `list`, in its order; an empty key for an empty slot. Read them while
// every entry is alive.
inline std::vector<MarkerKey> KeysOf(const AtomArray& list) {
  std::vector<MarkerKey> keys(static_cast<size_t>(list.GetCount()));
  for (Int32 i = 0; i < list.GetCount(); ++i) {
    if (C4DAtom* atom = list.GetIndex(i))
      keys[static_cast<size_t>(i)] = KeyOf(*static_cast<BaseList2D*>(atom));
  }
  return keys;
}

// Adds the keys of `root` and of everything below it to `keys`. Call just before the subtree is
// freed, while it is still alive.
inline void AddSubtreeKeys(BaseObject* root, std::unordered_set<MarkerKey>& keys) {
  for (BaseObject* op = root; op; op = NextObjectInSubtree(op, root)) keys.insert(KeyOf(*op));
}

#endif
