#include "demo_scene.h"

namespace gemhost {

namespace {

ObjectDesc Make(const std::string& key, const std::string& name, int32_t type, double x, double y,
                double z, size_t depth = 0) {
  ObjectDesc o;
  o.depth = depth;
  o.key = key;
  o.name = name;
  o.type = type;
  o.ml.off[0] = x;
  o.ml.off[1] = y;
  o.ml.off[2] = z;
  return o;
}

ObjectDesc Instance(const std::string& key, const std::string& name, const std::string& link,
                    int32_t mode, double x, double y, double z, size_t depth = 0) {
  ObjectDesc o = Make(key, name, kTypeInstance, x, y, z, depth);
  o.link = link;
  o.mode = mode;
  return o;
}

}  // namespace

SceneDesc DemoScene() {
  SceneDesc s;

  ObjectDesc cube = Make("cube", "Cube", kTypeCube, 0, 0, 0);
  cube.tags.push_back({"cube-phong", "Phong", {}});
  s.objects.push_back(cube);
  s.objects.push_back(Make("cube-handle", "Handle", kTypeNull, 0, 150, 0, 1));

  s.objects.push_back(Instance("cube-a", "Cube instance A", "cube", 0, 300, 0, 0));

  s.objects.push_back(Instance("cube-b", "Cube instance B", "cube", 0, -300, 0, 0));
  s.objects.push_back(Make("cube-b-light", "Light", kTypeNull, 0, 200, 0, 1));

  s.objects.push_back(Make("group", "Group", kTypeNull, 0, 0, 400));
  s.objects.push_back(Instance("cube-c", "Cube instance C", "cube", 0, -200, 0, 0, 1));
  s.objects.push_back(Make("crate", "Crate", kTypeCube, 200, 0, 0, 1));

  s.objects.push_back(Instance("chain", "Chain", "cube-a", 0, 600, 0, 0));

  s.objects.push_back(Make("sphere", "Sphere", kTypeSphere, 0, 0, -400));
  s.objects.push_back(Instance("sphere-multi", "Sphere scatter", "sphere", 2, 0, 0, -800));

  s.selection = {"cube"};
  return s;
}

}  // namespace gemhost
