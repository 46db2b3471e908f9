#include "demo_scene.h"

namespace gemhost {

namespace {

ObjectDesc Make(const std::string& key, const std::string& name, int32_t type, double x, double y,
                double z) {
  ObjectDesc o;
  o.key = key;
  o.name = name;
  o.type = type;
  o.ml.off[0] = x;
  o.ml.off[1] = y;
  o.ml.off[2] = z;
  return o;
}

ObjectDesc Instance(const std::string& key, const std::string& name, const std::string& link,
                    int32_t mode, double x, double y, double z) {
  ObjectDesc o = Make(key, name, kTypeInstance, x, y, z);
  o.link = link;
  o.mode = mode;
  return o;
}

}  // namespace

SceneDesc DemoScene() {
  SceneDesc s;

  ObjectDesc cube = Make("cube", "Cube", kTypeCube, 0, 0, 0);
  cube.tags.push_back({"cube-phong", "Phong"});
  cube.children.push_back(Make("cube-handle", "Handle", kTypeNull, 0, 150, 0));
  s.objects.push_back(cube);

  s.objects.push_back(Instance("cube-a", "Cube instance A", "cube", 0, 300, 0, 0));

  ObjectDesc b = Instance("cube-b", "Cube instance B", "cube", 0, -300, 0, 0);
  b.children.push_back(Make("cube-b-light", "Light", kTypeNull, 0, 200, 0));
  s.objects.push_back(b);

  ObjectDesc group = Make("group", "Group", kTypeNull, 0, 0, 400);
  group.children.push_back(Instance("cube-c", "Cube instance C", "cube", 0, -200, 0, 0));
  group.children.push_back(Make("crate", "Crate", kTypeCube, 200, 0, 0));
  s.objects.push_back(group);

  s.objects.push_back(Instance("chain", "Chain", "cube-a", 0, 600, 0, 0));

  s.objects.push_back(Make("sphere", "Sphere", kTypeSphere, 0, 0, -400));
  s.objects.push_back(Instance("sphere-multi", "Sphere scatter", "sphere", 2, 0, 0, -800));

  s.selection = {"cube"};
  return s;
}

}  // namespace gemhost
