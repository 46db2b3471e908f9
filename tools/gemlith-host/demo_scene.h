// The built-in demo scene: what gemlith-host works on when no --scene is given.
#ifndef GEMLITH_HOST_DEMO_SCENE_H
#define GEMLITH_HOST_DEMO_SCENE_H

#include "scene.h"

namespace gemhost {

// A Cube with a tag and a child, three instances of it (one with a child of its own, one inside a
// Group next to a plain Crate), a chain (an instance of an instance), and a Sphere with a
// multi-instance (mode 2). The Cube is selected.
SceneDesc DemoScene();

}  // namespace gemhost

#endif
