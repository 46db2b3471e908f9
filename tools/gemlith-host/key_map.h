// Keys of one run: every object and tag of a scene file has a key, a string unique within the
// file. KeyMap ties keys to the host's markers (node identities that survive undo and redo), so an
// object keeps its key for the whole run. Objects the run makes get fresh keys ("new1", "new2",
// ...) that collide with no key of the input.
#ifndef GEMLITH_HOST_KEY_MAP_H
#define GEMLITH_HOST_KEY_MAP_H

#include <optional>
#include <string>
#include <unordered_map>

#include "standin/host.h"

namespace gemhost {

class KeyMap {
 public:
  // Reserves a key of the input before any object is built, so fresh keys avoid it.
  void Reserve(const std::string& key);
  void Bind(standin::Marker marker, const std::string& key);
  // The key of this marker; a marker seen for the first time gets a fresh key.
  const std::string& KeyOf(standin::Marker marker);
  std::optional<standin::Marker> MarkerOf(const std::string& key) const;
  bool Has(standin::Marker marker) const { return by_marker_.count(marker) != 0; }
  // A key that is in use by nothing yet, with this prefix and a number; reserved at once.
  std::string Fresh(const std::string& prefix);

 private:
  std::unordered_map<standin::Marker, std::string> by_marker_;
  std::unordered_map<std::string, standin::Marker> by_key_;  // 0 = reserved, not yet bound
  int next_ = 1;
};

}  // namespace gemhost

#endif
