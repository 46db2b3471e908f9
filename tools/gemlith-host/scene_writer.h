// Writing a scene description as scene file text, object by object, so that the text of a large
// scene is never held whole and a deep hierarchy is written with loops.
#ifndef GEMLITH_HOST_SCENE_WRITER_H
#define GEMLITH_HOST_SCENE_WRITER_H

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "scene.h"

namespace gemhost {

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

}  // namespace gemhost

#endif
