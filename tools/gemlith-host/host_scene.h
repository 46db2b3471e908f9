// The scene in the host: a scene description built into the host's active document, and the
// document captured again as a description, every object and tag with its key. Both walk the
// hierarchy with loops, not recursion.
#ifndef GEMLITH_HOST_HOST_SCENE_H
#define GEMLITH_HOST_HOST_SCENE_H

#include "key_map.h"
#include "scene.h"
#include "standin/host.h"

namespace gemhost {

// Builds the scene into the host's active document (which should be empty) and binds every key.
// Objects and tags without a key get fresh ones ("obj1", ...).
void BuildScene(standin::Host& host, const SceneDesc& scene, KeyMap& keys);

// The active document as a scene, every object and tag with its key (fresh keys for new ones).
// The output is again valid input.
SceneDesc CaptureScene(standin::Host& host, KeyMap& keys);

// Gives every object and tag of the active document a key, in document order. Called after each
// step, so that fresh keys are handed out in the same order whatever is reported.
void AssignKeys(standin::Host& host, KeyMap& keys);

}  // namespace gemhost

#endif
