// Reading a scene file into the flat scene description. The whole file is checked (JSON syntax,
// the type of every value, unique keys, every link, selection entry and swap partner naming a key
// of the file) before anything is built, so a bad file is rejected before anything runs. The file
// is read event by event, so no part of reading recurses over the depth of the hierarchy.
#ifndef GEMLITH_HOST_SCENE_READER_H
#define GEMLITH_HOST_SCENE_READER_H

#include <string>

#include "input_error.h"
#include "scene.h"

namespace gemhost {

// Checks a scene file's text and reads it; `file` is the name used in messages. A fault is an
// InputError naming the file and the place (line, or the key path).
SceneDesc ParseScene(const std::string& text, const std::string& file);
SceneDesc ReadSceneFile(const std::string& path);  // also: the file cannot be read

}  // namespace gemhost

#endif
