#include "key_map.h"

namespace gemhost {

using standin::Marker;

void KeyMap::Reserve(const std::string& key) { by_key_.emplace(key, 0); }

void KeyMap::Bind(Marker marker, const std::string& key) {
  by_marker_[marker] = key;
  by_key_[key] = marker;
}

const std::string& KeyMap::KeyOf(Marker marker) {
  auto it = by_marker_.find(marker);
  if (it != by_marker_.end()) return it->second;
  Bind(marker, Fresh("new"));
  return by_marker_[marker];
}

std::optional<Marker> KeyMap::MarkerOf(const std::string& key) const {
  auto it = by_key_.find(key);
  if (it == by_key_.end() || it->second == 0) return std::nullopt;
  return it->second;
}

std::string KeyMap::Fresh(const std::string& prefix) {
  for (;;) {
    std::string key = prefix + std::to_string(next_++);
    if (by_key_.emplace(key, 0).second) return key;
  }
}

}  // namespace gemhost
