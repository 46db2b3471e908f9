// Scene files: JSON <-> the stand-in host's active document.
//
// A scene file is read in two stages. ParseScene checks the whole file (JSON syntax, the type of
// every value, unique keys, every link, selection entry and swap partner naming a key of the file)
// and yields a SceneDesc without touching the host; BuildScene then creates the objects. So a bad
// file is rejected before anything runs. CaptureScene and SceneText go the other way, and the
// output of CaptureScene is again valid input.
//
// Depth: a hierarchy may be as deep as memory holds (a chain of a million objects, each the only
// child of the one before). So nothing here recurses over the hierarchy: a SceneDesc lists the
// objects flat, the file is read event by event, and the tree is written and built with loops.
//
// Keys: every object and tag of a file has a key, a string unique within the file. KeyMap ties
// keys to the host's markers (node identities that survive undo and redo), so an object keeps its
// key for the whole run. Objects the run makes get fresh keys ("new1", "new2", ...) that collide
// with no key of the input.
#ifndef GEMLITH_HOST_SCENE_IO_H
#define GEMLITH_HOST_SCENE_IO_H

#include <cstdint>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "standin/host.h"

namespace gemhost {

// A bad input (scene file, preferences file, command line). The message names the file and the
// place; the program answers it with exit status 2 before anything runs.
class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

// Type names of scene files; other types are written as their number.
constexpr int32_t kTypeNull = 5140;
constexpr int32_t kTypeCube = 5159;
constexpr int32_t kTypeSphere = 5160;
constexpr int32_t kTypeInstance = 5126;
constexpr int32_t kTypeInstanceDerived = standin::kOinstanceDerived;

bool IsInstanceType(int32_t type);
std::string TypeName(int32_t type);  // "cube", ..., or the number as text

struct TagDesc {
  std::string key;
  std::string name;
  bool operator==(const TagDesc& o) const { return key == o.key && name == o.name; }
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

// Ties keys to markers for one run.
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

// Checks a scene file's text and reads it; `file` is the name used in messages.
SceneDesc ParseScene(const std::string& text, const std::string& file);
SceneDesc ReadSceneFile(const std::string& path);  // also: the file cannot be read

// Builds the scene into the host's active document (which should be empty) and binds every key.
// Objects and tags without a key get fresh ones ("obj1", ...).
void BuildScene(standin::Host& host, const SceneDesc& scene, KeyMap& keys);

// The active document as a scene, every object and tag with its key (fresh keys for new ones).
SceneDesc CaptureScene(standin::Host& host, KeyMap& keys);

// Gives every object and tag of the active document a key, in document order. Called after each
// step, so that fresh keys are handed out in the same order whatever is reported.
void AssignKeys(standin::Host& host, KeyMap& keys);

// The scene as JSON text in the scene file format: indent -1 writes one line; otherwise every
// member gets a line, indented by `indent` spaces a level for the first kMaxIndentLevels levels and
// no further, so that a deep hierarchy makes a file that grows with the number of objects only.
// Text that is not valid UTF-8 (a name the module made from bytes typed on the command line, say)
// is written with replacement characters instead of failing.
constexpr int kMaxIndentLevels = 16;
void WriteSceneText(std::ostream& os, const SceneDesc& scene, int indent = -1);
std::string SceneText(const SceneDesc& scene, int indent = -1);

// JSON text on one line, with the same handling of text that is not valid UTF-8.
std::string DumpJson(const nlohmann::ordered_json& j);

// Preferences file: {"plugins": {"ID": {"ELEMENT": INT}}}. A missing file is fine; anything else
// that is not in this form is an InputError naming the file and the place.
void CheckPrefsFile(const std::string& path);

}  // namespace gemhost

#endif
