// The scene description: what a scene file holds, as gemlith-host reads it (scene_reader.h),
// builds it into the host and captures it again (host_scene.h) and writes it (scene_writer.h).
//
// Depth: a hierarchy may be as deep as memory holds (a chain of a million objects, each the only
// child of the one before). So a SceneDesc lists the objects flat, with their depths, and nothing
// that reads, builds or writes one recurses over the hierarchy.
#ifndef GEMLITH_HOST_SCENE_H
#define GEMLITH_HOST_SCENE_H

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "standin/host.h"

namespace gemhost {

// Type names of scene files; other types are written as their number.
constexpr int32_t kTypeNull = 5140;
constexpr int32_t kTypeCube = 5159;
constexpr int32_t kTypeSphere = 5160;
constexpr int32_t kTypeInstance = 5126;
constexpr int32_t kTypeInstanceDerived = standin::kOinstanceDerived;

bool IsInstanceType(int32_t type);
std::optional<std::string> NameOfType(int32_t type);         // nothing: the type has no name
std::optional<int32_t> TypeOfName(const std::string& name);  // nothing: no type has this name
std::string TypeName(int32_t type);  // "cube", ..., or the number as text

bool SameMatrix(const GmMatrix& a, const GmMatrix& b);

// Further elements of a data container ("data"): links, Int32 values and sub-containers, in
// ascending id order. Other element types are not part of the format.
struct DataValue;
using DataDesc = std::vector<std::pair<int32_t, DataValue>>;
struct DataValue {
  enum Kind { kLink, kInt, kContainer } kind = kInt;
  std::optional<std::string> link;  // kLink: the key linked to; nothing = an empty or dead link
  int32_t i = 0;                    // kInt
  DataDesc sub;                     // kContainer
  bool operator==(const DataValue& o) const {
    return kind == o.kind && link == o.link && i == o.i && sub == o.sub;
  }
};
// Sub-containers nest at most this deep in a scene file (the host's containers are walked
// recursively).
constexpr size_t kMaxDataDepth = 1000;
// The ids an object's "data" must not use: they have fields of their own.
bool IsReservedObjectDataId(int32_t id);

struct TagDesc {
  std::string key;
  std::string name;
  DataDesc data;
  bool operator==(const TagDesc& o) const { return key == o.key && name == o.name && data == o.data; }
};

struct RecordDesc {
  std::optional<int32_t> saved_mode;        // element 1
  bool has_swap_partner = false;            // element 2 is there
  std::optional<std::string> swap_partner;  // its key; nothing = an empty or dead link
  bool operator==(const RecordDesc& o) const {
    return saved_mode == o.saved_mode && has_swap_partner == o.has_swap_partner &&
           swap_partner == o.swap_partner;
  }
};

struct ObjectDesc {
  std::string key;  // empty on input = none given
  std::string name;
  int32_t type = kTypeNull;
  std::optional<std::string> link;  // instance types: the key linked to; nothing = empty link
  int32_t mode = 0;                 // instance types
  GmMatrix ml = standin::IdentityMatrix();
  int32_t bits = 0;  // without the selection bit
  std::optional<RecordDesc> record;
  std::vector<TagDesc> tags;
  DataDesc data;  // without the instance parameters and the record
  size_t depth = 0;  // 0 = top level; a child has its parent's depth + 1

  bool operator==(const ObjectDesc& o) const;
  bool operator!=(const ObjectDesc& o) const { return !(*this == o); }
};

// The objects in document order (depth-first pre-order: a parent, then its children with their
// subtrees, then its next sibling): an object's children are the objects after it one level deeper,
// up to the next one at its own depth or above. The first object has depth 0, and each next one is
// at most one level deeper than the one before.
struct SceneDesc {
  std::vector<ObjectDesc> objects;
  std::vector<std::string> selection;  // in selection order
  bool operator==(const SceneDesc& o) const {
    return objects == o.objects && selection == o.selection;
  }
  bool operator!=(const SceneDesc& o) const { return !(*this == o); }
};

}  // namespace gemhost

#endif
