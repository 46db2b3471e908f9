#include "scene.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "ids.h"

namespace reliability {

namespace {

const char* const kNames[] = {"Cube", "Sphere", "Null", "I", "Cube.2", "", "W\xC3\xBCrfel", "a.b.c",
                              "Ref", "Inst", "x", "Cube.1"};

int32_t RandomType(Rng& rng) {
  const int r = static_cast<int>(Below(rng, 100));
  if (r < 40) return standin::kOinstance;
  if (r < 48) return standin::kOinstanceDerived;
  if (r < 66) return standin::kOnull;
  if (r < 82) return standin::kOcube;
  if (r < 94) return standin::kOsphere;
  return r < 97 ? 1234 : 5100;  // some other object type
}

int32_t RandomMode(Rng& rng) {
  const int r = static_cast<int>(Below(rng, 100));
  if (r < 50) return 0;
  if (r < 70) return 1;
  if (r < 90) return 2;
  const int32_t odd[] = {-1, 7, 100000, -2147483647 - 1};
  return odd[Below(rng, 4)];
}

int32_t RandomBits(Rng& rng) {
  const int32_t some[] = {1, 4, 8, 16, 1 << 20, static_cast<int32_t>(0x80000000u)};
  int32_t bits = Chance(rng, 70) ? some[Below(rng, 6)] : static_cast<int32_t>(rng());
  return bits & ~standin::kBitActive;
}

// A link target for an instance or a record: mostly objects (among them a few popular
// references, so that many instances share one), sometimes nothing, a tag, a dead or a foreign
// object.
LinkSpec RandomLink(Rng& rng, const SceneSpec& scene, const std::vector<int>& popular, int self) {
  const int n = static_cast<int>(scene.objects.size());
  const int r = static_cast<int>(Below(rng, 100));
  LinkSpec l;
  if (r < 10) return l;  // empty
  if (r < 15) {
    l.kind = LinkSpec::kDead;
    return l;
  }
  if (r < 19) {
    std::vector<int> owners;
    for (int i = 0; i < n; ++i)
      if (!scene.objects[i].tags.empty()) owners.push_back(i);
    if (!owners.empty()) {
      l.kind = LinkSpec::kTag;
      l.object = owners[Below(rng, owners.size())];
      l.tag = static_cast<int>(Below(rng, scene.objects[l.object].tags.size()));
      return l;
    }
  }
  if (r < 23 && scene.foreign) {
    l.kind = LinkSpec::kForeign;
    return l;
  }
  l.kind = LinkSpec::kObject;
  if (r < 26 && self >= 0) {
    l.object = self;  // a cycle of one
  } else if (r < 70 && !popular.empty()) {
    l.object = popular[Below(rng, popular.size())];
  } else {
    l.object = static_cast<int>(Below(rng, n));  // anything: chains, cycles, ancestors, children
  }
  return l;
}

}  // namespace

std::string CppString(const std::string& s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      r += '\\';
      r += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);  // octal: never swallows a following digit
      r += buf;
    } else {
      r += static_cast<char>(c);
    }
  }
  return r + "\"";
}

namespace {

std::string Number(double d) {
  std::ostringstream out;
  out.precision(17);
  out << d;
  return out.str();
}

std::string TypeCpp(int32_t type) {
  switch (type) {
    case standin::kOnull: return "standin::kOnull";
    case standin::kOcube: return "standin::kOcube";
    case standin::kOsphere: return "standin::kOsphere";
    case standin::kOinstance: return "standin::kOinstance";
    case standin::kOinstanceDerived: return "standin::kOinstanceDerived";
    default: return std::to_string(type);
  }
}

bool UsesKind(const SceneSpec& scene, LinkSpec::Kind kind) {
  for (const ObjectSpec& o : scene.objects) {
    if (IsInstanceType(o.type) && o.link.kind == kind) return true;
    if (o.record && o.record->partner && o.record->partner->kind == kind) return true;
    for (const DataLinkSpec& d : o.data_links)
      if (d.link.kind == kind) return true;
  }
  return false;
}

bool IsIdentityPlacement(const ObjectSpec& o) {
  return o.off[0] == 0 && o.off[1] == 0 && o.off[2] == 0 && o.scale == 1;
}

// The marker a link spec names in the built scene.
standin::Marker MarkerFor(standin::Host& h, const LinkSpec& l, const std::vector<GmNode*>& objects,
                          GmNode* foreign, standin::Marker dead) {
  switch (l.kind) {
    case LinkSpec::kEmpty: return 0;
    case LinkSpec::kObject: return standin::Host::MarkerOf(objects[l.object]);
    case LinkSpec::kTag: return standin::Host::MarkerOf(h.Tags(objects[l.object])[l.tag]);
    case LinkSpec::kDead: return dead;
    case LinkSpec::kForeign: return standin::Host::MarkerOf(foreign);
  }
  return 0;
}

std::string MarkerCpp(const LinkSpec& l) {
  switch (l.kind) {
    case LinkSpec::kEmpty: return "0";
    case LinkSpec::kObject: return "standin::Host::MarkerOf(o[" + std::to_string(l.object) + "])";
    case LinkSpec::kTag:
      return "standin::Host::MarkerOf(h.Tags(o[" + std::to_string(l.object) + "])[" +
             std::to_string(l.tag) + "])";
    case LinkSpec::kDead: return "dead";
    case LinkSpec::kForeign: return "standin::Host::MarkerOf(foreign)";
  }
  return "0";
}

bool LinkValid(const SceneSpec& scene, const LinkSpec& l) {
  const int n = static_cast<int>(scene.objects.size());
  switch (l.kind) {
    case LinkSpec::kObject: return l.object >= 0 && l.object < n;
    case LinkSpec::kTag:
      return l.object >= 0 && l.object < n && l.tag >= 0 &&
             l.tag < static_cast<int>(scene.objects[l.object].tags.size());
    case LinkSpec::kForeign: return scene.foreign;
    default: return true;
  }
}

}  // namespace

bool IsInstanceType(int32_t type) {
  return type == standin::kOinstance || type == standin::kOinstanceDerived;
}

standin::Marker DeadMarker(standin::Host& h) {
  GmNode* n = h.AddObject(standin::kOnull, "dead");
  const standin::Marker m = standin::Host::MarkerOf(n);
  h.Delete(n);
  return m;
}

GmMatrix Placement(double x, double y, double z, double s) {
  GmMatrix m = standin::IdentityMatrix();
  m.off[0] = x;
  m.off[1] = y;
  m.off[2] = z;
  m.v1[0] = s;
  m.v2[1] = s;
  m.v3[2] = s;
  return m;
}

SceneSpec GenerateScene(Rng& rng, const SceneParams& params) {
  SceneSpec scene;
  int n;
  const int band = static_cast<int>(Below(rng, 100));
  if (band < 35)
    n = Between(rng, 1, 10);
  else if (band < 80)
    n = Between(rng, 11, 60);
  else
    n = Between(rng, 61, 300);
  n = std::max(params.min_objects, std::min(params.max_objects, n));
  scene.foreign = Chance(rng, 15);

  for (int i = 0; i < n; ++i) {
    ObjectSpec o;
    if (i > 0 && !Chance(rng, 35)) o.parent = Chance(rng, 50) ? i - 1 : static_cast<int>(Below(rng, i));
    o.type = RandomType(rng);
    o.name = kNames[Below(rng, sizeof kNames / sizeof kNames[0])];
    if (Chance(rng, 30)) o.name += std::to_string(i);
    if (Chance(rng, 15)) {
      const int tags = Between(rng, 1, 2);
      for (int t = 0; t < tags; ++t) o.tags.push_back("tag" + std::to_string(t));
    }
    if (Chance(rng, 50)) {
      for (double& d : o.off) d = Between(rng, -10, 10) * 0.5;
      const double scales[] = {1, 2, 0.5, -1};
      o.scale = scales[Below(rng, 4)];
    }
    if (Chance(rng, 20)) o.bits = RandomBits(rng);
    if (IsInstanceType(o.type)) o.mode = RandomMode(rng);
    scene.objects.push_back(o);
  }

  // A few popular references, so that several instances share one.
  std::vector<int> popular;
  const int wanted = 1 + n / 8;
  for (int k = 0; k < wanted * 3 && static_cast<int>(popular.size()) < wanted; ++k) {
    const int i = static_cast<int>(Below(rng, n));
    if (!IsInstanceType(scene.objects[i].type) &&
        std::find(popular.begin(), popular.end(), i) == popular.end())
      popular.push_back(i);
  }
  for (int i = 0; i < n; ++i) {
    ObjectSpec& o = scene.objects[i];
    if (IsInstanceType(o.type)) o.link = RandomLink(rng, scene, popular, i);
    if (Chance(rng, 20)) {
      RecordSpec r;
      if (Chance(rng, 50)) r.saved_mode = RandomMode(rng);
      if (Chance(rng, 60)) r.partner = RandomLink(rng, scene, {}, -1);
      o.record = r;
    }
    // Links held in data, own or a tag's, to anything a link may name: the objects that commands
    // replace among them.
    if (Chance(rng, 25)) {
      const int count = Between(rng, 1, 2);
      for (int k = 0; k < count; ++k) {
        DataLinkSpec d;
        if (!o.tags.empty() && Chance(rng, 50)) d.tag = static_cast<int>(Below(rng, o.tags.size()));
        const int32_t ids[] = {5, 9, 20};
        d.id = ids[Below(rng, 3)];
        d.nested = Chance(rng, 40);
        d.link = RandomLink(rng, scene, popular, -1);
        o.data_links.push_back(d);
      }
    }
  }

  if (!Chance(rng, 10)) {
    const int k = Chance(rng, 80) ? Between(rng, 1, std::min(n, 6)) : Between(rng, 1, std::max(1, n / 2));
    std::vector<int> all(n);
    for (int i = 0; i < n; ++i) all[i] = i;
    for (int j = 0; j < k; ++j) {  // a partial shuffle: k distinct objects in random order
      const int pick = j + static_cast<int>(Below(rng, n - j));
      std::swap(all[j], all[pick]);
      scene.selection.push_back(all[j]);
    }
  }
  if (Chance(rng, 25)) {
    const int32_t modes[] = {0, 1, 2, 5, -1};
    scene.stored_mode = modes[Below(rng, 5)];
  }
  return scene;
}

std::vector<GmNode*> BuildScene(standin::Host& h, const SceneSpec& scene) {
  std::vector<GmNode*> o;
  o.reserve(scene.objects.size());
  for (const ObjectSpec& s : scene.objects)
    o.push_back(h.AddObject(s.type, s.name, s.parent >= 0 ? o[s.parent] : nullptr));
  for (size_t i = 0; i < scene.objects.size(); ++i)
    for (const std::string& t : scene.objects[i].tags) h.AddTag(o[i], t);
  GmNode* foreign = nullptr;
  if (scene.foreign) foreign = h.AddObjectTo(h.NewDocument(), standin::kOcube, "Foreign");
  const standin::Marker dead = UsesKind(scene, LinkSpec::kDead) ? DeadMarker(h) : 0;
  for (size_t i = 0; i < scene.objects.size(); ++i) {
    const ObjectSpec& s = scene.objects[i];
    if (!IsIdentityPlacement(s)) h.SetMatrix(o[i], Placement(s.off[0], s.off[1], s.off[2], s.scale));
    if (s.bits) h.SetBits(o[i], s.bits);
    if (IsInstanceType(s.type)) {
      if (s.link.kind != LinkSpec::kEmpty) h.SetLinkMarker(o[i], MarkerFor(h, s.link, o, foreign, dead));
      if (s.mode) h.SetMode(o[i], s.mode);
    }
    if (s.record) {
      gemhost::Record r;
      r.saved_mode = s.record->saved_mode;
      if (s.record->partner) r.swap_partner = MarkerFor(h, *s.record->partner, o, foreign, dead);
      gemhost::WriteRecord(h, o[i], r);
    }
    for (const DataLinkSpec& d : s.data_links)
      h.SetDataElement(d.tag < 0 ? o[i] : h.Tags(o[i])[d.tag], d.id,
                       DataLink(MarkerFor(h, d.link, o, foreign, dead), d.nested));
  }
  if (!scene.selection.empty()) {
    std::vector<GmNode*> sel;
    for (int i : scene.selection) sel.push_back(o[i]);
    h.Select(sel);
  }
  if (scene.stored_mode) h.SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, *scene.stored_mode}});
  return o;
}

standin::ValueData DataLink(standin::Marker m, bool nested) {
  standin::ValueData link;
  link.type = GM_VALUE_LINK;
  link.marker = m;
  if (!nested) return link;
  standin::ValueData sub;
  sub.type = GM_VALUE_CONTAINER;
  sub.sub.emplace_back(1, link);
  return sub;
}

std::string SceneToCpp(const SceneSpec& scene, const std::string& in) {
  std::ostringstream out;
  const size_t n = scene.objects.size();
  out << in << "std::vector<GmNode*> o(" << n << ");\n";
  for (size_t i = 0; i < n; ++i) {
    const ObjectSpec& s = scene.objects[i];
    out << in << "o[" << i << "] = h.AddObject(" << TypeCpp(s.type) << ", " << CppString(s.name);
    if (s.parent >= 0) out << ", o[" << s.parent << "]";
    out << ");\n";
  }
  for (size_t i = 0; i < n; ++i)
    for (const std::string& t : scene.objects[i].tags)
      out << in << "h.AddTag(o[" << i << "], " << CppString(t) << ");\n";
  if (scene.foreign) {
    out << in;
    if (UsesKind(scene, LinkSpec::kForeign)) out << "GmNode* foreign = ";
    out << "h.AddObjectTo(h.NewDocument(), standin::kOcube, \"Foreign\");\n";
  }
  if (UsesKind(scene, LinkSpec::kDead))
    out << in << "const standin::Marker dead = reliability::DeadMarker(h);\n";
  for (size_t i = 0; i < n; ++i) {
    const ObjectSpec& s = scene.objects[i];
    const std::string obj = "o[" + std::to_string(i) + "]";
    if (!IsIdentityPlacement(s))
      out << in << "h.SetMatrix(" << obj << ", reliability::Placement(" << Number(s.off[0]) << ", "
          << Number(s.off[1]) << ", " << Number(s.off[2]) << ", " << Number(s.scale) << "));\n";
    if (s.bits) out << in << "h.SetBits(" << obj << ", " << s.bits << ");\n";
    if (IsInstanceType(s.type)) {
      if (s.link.kind != LinkSpec::kEmpty)
        out << in << "h.SetLinkMarker(" << obj << ", " << MarkerCpp(s.link) << ");\n";
      if (s.mode) out << in << "h.SetMode(" << obj << ", " << s.mode << ");\n";
    }
    if (s.record) {
      out << in << "gemhost::WriteRecord(h, " << obj << ", gemhost::Record{";
      if (s.record->saved_mode)
        out << *s.record->saved_mode;
      else
        out << "std::nullopt";
      out << ", ";
      if (s.record->partner)
        out << "standin::Marker(" << MarkerCpp(*s.record->partner) << ")";
      else
        out << "std::nullopt";
      out << "});\n";
    }
    for (const DataLinkSpec& d : s.data_links) {
      out << in << "h.SetDataElement(";
      if (d.tag < 0) out << obj;
      else out << "h.Tags(" << obj << ")[" << d.tag << "]";
      out << ", " << d.id << ", reliability::DataLink(" << MarkerCpp(d.link) << ", "
          << (d.nested ? "true" : "false") << "));\n";
    }
  }
  if (!scene.selection.empty()) {
    out << in << "h.Select({";
    for (size_t k = 0; k < scene.selection.size(); ++k)
      out << (k ? ", " : "") << "o[" << scene.selection[k] << "]";
    out << "});\n";
  }
  if (scene.stored_mode)
    out << in << "h.SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, " << *scene.stored_mode
        << "}});\n";
  return out.str();
}

bool IsValid(const SceneSpec& scene) {
  const int n = static_cast<int>(scene.objects.size());
  for (int i = 0; i < n; ++i) {
    const ObjectSpec& o = scene.objects[i];
    if (o.parent < -1 || o.parent >= i) return false;
    if ((o.bits & standin::kBitActive) != 0) return false;
    if (IsInstanceType(o.type) && !LinkValid(scene, o.link)) return false;
    if (o.record && o.record->partner && !LinkValid(scene, *o.record->partner)) return false;
    for (const DataLinkSpec& d : o.data_links)
      if (d.tag >= static_cast<int>(o.tags.size()) || !LinkValid(scene, d.link)) return false;
  }
  std::vector<bool> seen(n, false);
  for (int i : scene.selection) {
    if (i < 0 || i >= n || seen[i]) return false;
    seen[i] = true;
  }
  return true;
}

SceneSpec WithoutObject(const SceneSpec& scene, int victim) {
  const int n = static_cast<int>(scene.objects.size());
  std::vector<bool> gone(n, false);
  for (int i = 0; i < n; ++i)  // parents come first, so one pass finds the whole subtree
    gone[i] = i == victim || (scene.objects[i].parent >= 0 && gone[scene.objects[i].parent]);
  std::vector<int> index(n, -1);
  int next = 0;
  for (int i = 0; i < n; ++i)
    if (!gone[i]) index[i] = next++;
  auto remap = [&](LinkSpec l) {
    if (l.kind == LinkSpec::kObject || l.kind == LinkSpec::kTag) {
      if (gone[l.object]) return LinkSpec{};
      l.object = index[l.object];
    }
    return l;
  };
  SceneSpec out = scene;
  out.objects.clear();
  out.selection.clear();
  for (int i = 0; i < n; ++i) {
    if (gone[i]) continue;
    ObjectSpec o = scene.objects[i];
    if (o.parent >= 0) o.parent = index[o.parent];
    o.link = remap(o.link);
    if (o.record && o.record->partner) o.record->partner = remap(*o.record->partner);
    for (DataLinkSpec& d : o.data_links) d.link = remap(d.link);
    out.objects.push_back(o);
  }
  for (int i : scene.selection)
    if (!gone[i]) out.selection.push_back(index[i]);
  return out;
}

}  // namespace reliability
