// Random scenes for the sequence tester, kept as plain data so that a failing scene can be shrunk
// and printed as C++ that builds it again.
//
// A SceneSpec lists its objects in creation order: each object is added as the last child of its
// parent (an earlier object) or as the last top-level object, so creation order is also the order
// among siblings. Links and record partners name objects (and tags) by index; "dead" names an
// object that was made and freed again, "foreign" an object of a second document.
#ifndef GEMLITH_TESTS_RELIABILITY_SCENE_H
#define GEMLITH_TESTS_RELIABILITY_SCENE_H

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "module_record.h"
#include "standin/host.h"

namespace reliability {

using Rng = std::mt19937_64;

// Uniform integers without the standard distributions, whose results differ between standard
// libraries: a seed must give the same scene with every compiler.
inline uint64_t Below(Rng& rng, uint64_t n) { return n ? rng() % n : 0; }
inline int Between(Rng& rng, int lo, int hi) {  // lo..hi, both included
  return lo + static_cast<int>(Below(rng, static_cast<uint64_t>(hi - lo + 1)));
}
inline bool Chance(Rng& rng, int percent) { return static_cast<int>(Below(rng, 100)) < percent; }

struct LinkSpec {
  enum Kind { kEmpty, kObject, kTag, kDead, kForeign };
  Kind kind = kEmpty;
  int object = -1;  // kObject, kTag: index of the object (kTag: the tag's owner)
  int tag = -1;     // kTag: index among the owner's tags
  bool operator==(const LinkSpec& o) const {
    return kind == o.kind && object == o.object && tag == o.tag;
  }
};

struct RecordSpec {
  std::optional<int32_t> saved_mode;       // element 1
  std::optional<LinkSpec> partner;         // element 2
  bool operator==(const RecordSpec& o) const {
    return saved_mode == o.saved_mode && partner == o.partner;
  }
};

// A link element in an object's data or in one of its tags' data: at the top, or as element 1 of a
// sub-container.
struct DataLinkSpec {
  int tag = -1;         // -1: the object's own data; else the index among its tags
  int32_t id = 0;       // the element (nested: the sub-container's) id
  bool nested = false;
  LinkSpec link;
};

struct ObjectSpec {
  int parent = -1;  // index of an earlier object; -1 = top level
  int32_t type = standin::kOnull;
  std::string name;
  LinkSpec link;    // instance types only
  int32_t mode = 0; // instance types only
  double off[3] = {0, 0, 0};
  double scale = 1;
  int32_t bits = 0;  // never the selection bit: the selection is set by `SceneSpec::selection`
  std::optional<RecordSpec> record;
  std::vector<std::string> tags;
  std::vector<DataLinkSpec> data_links;
};

struct SceneSpec {
  std::vector<ObjectSpec> objects;
  std::vector<int> selection;              // indices, selected first to last
  std::optional<int32_t> stored_mode;      // the module's stored instance mode, if any
  bool foreign = false;                    // a second document with one object links may name
};

bool IsInstanceType(int32_t type);

struct SceneParams {
  int min_objects = 1;
  int max_objects = 300;
};

// A random scene: hierarchy, ordinary objects, instances and the derived instance type, links to
// objects, tags, nothing, dead and foreign objects, chains and cycles, records with and without
// partners, bits, matrices, names, a selection in random order and sometimes a stored mode.
SceneSpec GenerateScene(Rng& rng, const SceneParams& params);

// Builds the scene into the host's active document (which should be empty) and sets the stored
// mode. Returns the objects in spec order.
std::vector<GmNode*> BuildScene(standin::Host& host, const SceneSpec& scene);

// The same construction as C++ statements on a `standin::Host& h` (for a reproduction).
std::string SceneToCpp(const SceneSpec& scene, const std::string& indent);

// A C++ string literal for any bytes (non-ASCII as octal escapes).
std::string CppString(const std::string& s);

// Whether every index of the scene points where it should (parents before children, links and
// partners at existing objects and tags, selection at existing objects, without repeats).
bool IsValid(const SceneSpec& scene);

// A data element holding a link to `m`: the link itself, or (nested) a sub-container holding it as
// element 1.
standin::ValueData DataLink(standin::Marker m, bool nested);

// The marker of an object that existed and was freed: what a dead link holds.
standin::Marker DeadMarker(standin::Host& h);
// A local matrix: uniform scale `s`, offset (x, y, z).
GmMatrix Placement(double x, double y, double z, double s);

// Shrinking: the scene without object `i` and its subtree; links, partners and selection entries
// that named them become empty links / are dropped.
SceneSpec WithoutObject(const SceneSpec& scene, int i);

}  // namespace reliability

#endif  // GEMLITH_TESTS_RELIABILITY_SCENE_H
