// Instances whose display never ends. An object shows its children and, when it is an instance,
// what its link names; when following that from an object comes back to an object already on the
// way (an instance inside what it shows, one linking to itself, two references that hold instances
// of each other), what the object shows loops. A copy of such a reference holds instances that show
// the reference again, so replacing instances by copies could go on forever and each run would
// multiply the scene.
#ifndef GEMLITH_INSTANCE_LOOPS_H
#define GEMLITH_INSTANCE_LOOPS_H

#include <cstdint>
#include <unordered_map>

#include "c4d.h"

class InstanceLoops {
 public:
  // True when what `op` shows (its subtree, and through every instance met there what that links
  // to, and so on) comes back to an object already on the way. False for null.
  // Each object is walked once however often it is asked about, so answers are keyed by address:
  // ask while the objects met are alive and unchanged, before a command frees or moves any.
  Bool Loops(BaseObject* op);

 private:
  enum class State : uint8_t { kOnPath, kLoops, kEnds };
  std::unordered_map<const BaseObject*, State> _state;
};

#endif
