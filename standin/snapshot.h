// Whole-scene snapshots: what command tests compare before, after, after undo and after redo, and
// the readable forms of a scene. No entry of the table: these are the tests' view of a document.
#ifndef GEMLITH_STANDIN_SNAPSHOT_H
#define GEMLITH_STANDIN_SNAPSHOT_H

#include <cstdint>
#include <string>
#include <vector>

#include "container.h"
#include "gemlith_api.h"
#include "link.h"

namespace standin {

struct TagSnapshot {
  Marker marker = 0;
  std::string name;
  ContainerData data;  // the tag's whole data container
  bool operator==(const TagSnapshot& o) const {
    return marker == o.marker && name == o.name && data == o.data;
  }
};

struct ObjectSnapshot {
  Marker marker = 0;
  int32_t type = 0;
  std::string name;
  Marker parent = 0;      // 0 = top level
  int32_t index = 0;      // place among its siblings, 0-based
  int32_t bits = 0;
  int32_t selection_rank = -1;  // 0 = selected first, ...; -1 when not selected
  GmMatrix ml{};
  Marker link = 0;        // instance types: parameter 1001 (0 = empty)
  int32_t mode = 0;       // instance types: parameter 1002
  ContainerData data;     // the whole data container
  std::vector<TagSnapshot> tags;

  bool operator==(const ObjectSnapshot& o) const;
  bool operator!=(const ObjectSnapshot& o) const { return !(*this == o); }
};

struct SceneSnapshot {
  std::vector<ObjectSnapshot> objects;  // document order
  bool operator==(const SceneSnapshot& o) const { return objects == o.objects; }
  bool operator!=(const SceneSnapshot& o) const { return !(*this == o); }
};
// A readable account of what differs ("" when equal), for test failure messages.
std::string Diff(const SceneSnapshot& before, const SceneSnapshot& after);
std::string ToString(const SceneSnapshot& s);

}  // namespace standin

#endif  // GEMLITH_STANDIN_SNAPSHOT_H
