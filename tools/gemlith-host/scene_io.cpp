#include "scene_io.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>

namespace gemhost {

using nlohmann::json;
using standin::Host;
using standin::Marker;

namespace {

bool SameMatrix(const GmMatrix& a, const GmMatrix& b) {
  for (int i = 0; i < 3; ++i) {
    if (a.off[i] != b.off[i] || a.v1[i] != b.v1[i] || a.v2[i] != b.v2[i] || a.v3[i] != b.v3[i])
      return false;
  }
  return true;
}

bool IsTranslation(const GmMatrix& m) {
  GmMatrix t = standin::IdentityMatrix();
  for (int i = 0; i < 3; ++i) t.off[i] = m.off[i];
  return SameMatrix(m, t);
}

std::string Quote(const std::string& s) {
  return json(s).dump(-1, ' ', false, json::error_handler_t::replace);
}

// Reads a scene file's JSON into a SceneDesc, checking everything on the way. Paths in messages
// are the key paths of the JSON value ("objects[2].children[0].link").
class Parser {
 public:
  explicit Parser(std::string file) : file_(std::move(file)) {}

  SceneDesc Parse(const json& root) {
    if (!root.is_object()) Fail("", "a scene must be a JSON object {\"objects\": [...], \"selection\": [...]}");
    for (const auto& [name, value] : root.items()) {
      if (name != "objects" && name != "selection")
        Fail(name, "unknown member (a scene has \"objects\" and \"selection\")");
      (void)value;
    }
    SceneDesc scene;
    if (root.contains("objects")) {
      const json& objects = root["objects"];
      if (!objects.is_array()) Fail("objects", "must be an array of objects");
      for (size_t i = 0; i < objects.size(); ++i)
        scene.objects.push_back(ParseObject(objects[i], Index("objects", i)));
    }
    if (root.contains("selection")) {
      const json& sel = root["selection"];
      if (!sel.is_array()) Fail("selection", "must be an array of keys");
      std::set<std::string> seen;
      for (size_t i = 0; i < sel.size(); ++i) {
        const std::string path = Index("selection", i);
        if (!sel[i].is_string()) Fail(path, "must be the key of an object (a string)");
        const std::string key = sel[i].get<std::string>();
        if (!seen.insert(key).second) Fail(path, Quote(key) + " is selected twice");
        refs_.push_back({path, key, Ref::kSelection});
        scene.selection.push_back(key);
      }
    }
    CheckReferences();
    return scene;
  }

 private:
  struct Ref {
    std::string path;
    std::string key;
    enum Kind { kLink, kPartner, kSelection } kind;
  };
  struct KeyDef {
    std::string path;
    bool is_tag;
  };

  [[noreturn]] void Fail(const std::string& path, const std::string& what) const {
    throw InputError(file_ + ": " + (path.empty() ? std::string() : path + ": ") + what);
  }

  static std::string Index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
  }
  static std::string Member(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "." + name;
  }

  int32_t Int32(const json& j, const std::string& path) const {
    if (!j.is_number_integer()) Fail(path, "must be an integer");
    if (j.is_number_unsigned()) {
      const auto v = j.get<uint64_t>();
      if (v > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        Fail(path, "is out of the 32-bit range");
      return static_cast<int32_t>(v);
    }
    const auto v = j.get<int64_t>();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
      Fail(path, "is out of the 32-bit range");
    return static_cast<int32_t>(v);
  }

  void Vector(const json& j, const std::string& path, double out[3]) const {
    if (!j.is_array() || j.size() != 3) Fail(path, "must be an array of three numbers [X, Y, Z]");
    for (size_t i = 0; i < 3; ++i) {
      if (!j[i].is_number()) Fail(Index(path, i), "must be a number");
      out[i] = j[i].get<double>();
    }
  }

  std::string String(const json& j, const std::string& path) const {
    if (!j.is_string()) Fail(path, "must be a string");
    return j.get<std::string>();
  }

  void DefineKey(const std::string& key, const std::string& path, bool is_tag) {
    if (key.empty()) Fail(path, "a key must not be empty");
    auto [it, inserted] = keys_.emplace(key, KeyDef{path, is_tag});
    if (!inserted) Fail(path, "duplicate key " + Quote(key) + " (already used at " + it->second.path + ")");
  }

  int32_t ParseType(const json& j, const std::string& path) const {
    if (j.is_number()) return Int32(j, path);
    if (!j.is_string())
      Fail(path, "must be a type name or a type number");
    const std::string name = j.get<std::string>();
    static const std::map<std::string, int32_t> names = {
        {"null", kTypeNull},         {"cube", kTypeCube},
        {"sphere", kTypeSphere},     {"instance", kTypeInstance},
        {"instance-derived", kTypeInstanceDerived}};
    auto it = names.find(name);
    if (it == names.end())
      Fail(path, "unknown type " + Quote(name) +
                     " (null, cube, sphere, instance, instance-derived, or a type number)");
    return it->second;
  }

  ObjectDesc ParseObject(const json& j, const std::string& path) {
    if (!j.is_object()) Fail(path, "an object entry must be a JSON object");
    static const std::set<std::string> members = {"key",  "name",     "type",   "link",
                                                  "mode", "position", "matrix", "bits",
                                                  "record", "tags",   "children"};
    for (const auto& item : j.items())
      if (!members.count(item.key())) Fail(Member(path, item.key()), "unknown member of an object");

    ObjectDesc o;
    if (j.contains("key")) {
      o.key = String(j["key"], Member(path, "key"));
      DefineKey(o.key, Member(path, "key"), false);
    }
    if (j.contains("name")) o.name = String(j["name"], Member(path, "name"));
    if (j.contains("type")) o.type = ParseType(j["type"], Member(path, "type"));
    const bool instance = IsInstanceType(o.type);
    if (j.contains("link")) {
      const std::string p = Member(path, "link");
      if (!instance) Fail(p, "only instance objects have a link");
      if (!j["link"].is_null()) {
        o.link = String(j["link"], p);
        refs_.push_back({p, *o.link, Ref::kLink});
      }
    }
    if (j.contains("mode")) {
      const std::string p = Member(path, "mode");
      if (!instance) Fail(p, "only instance objects have a mode");
      o.mode = Int32(j["mode"], p);
    }
    if (j.contains("position") && j.contains("matrix"))
      Fail(Member(path, "matrix"), "give either \"position\" or \"matrix\", not both");
    if (j.contains("position")) Vector(j["position"], Member(path, "position"), o.ml.off);
    if (j.contains("matrix")) {
      const std::string p = Member(path, "matrix");
      const json& m = j["matrix"];
      if (!m.is_object()) Fail(p, "must be an object {\"off\": [..], \"v1\": [..], \"v2\": [..], \"v3\": [..]}");
      for (const auto& item : m.items())
        if (item.key() != "off" && item.key() != "v1" && item.key() != "v2" && item.key() != "v3")
          Fail(Member(p, item.key()), "unknown member of a matrix (off, v1, v2, v3)");
      const std::pair<const char*, double*> parts[] = {
          {"off", o.ml.off}, {"v1", o.ml.v1}, {"v2", o.ml.v2}, {"v3", o.ml.v3}};
      for (const auto& [name, dst] : parts) {
        if (!m.contains(name)) Fail(Member(p, name), "missing");
        Vector(m[name], Member(p, name), dst);
      }
    }
    if (j.contains("bits")) o.bits = Int32(j["bits"], Member(path, "bits")) & ~standin::kBitActive;
    if (j.contains("record")) o.record = ParseRecord(j["record"], Member(path, "record"));
    if (j.contains("tags")) {
      const std::string p = Member(path, "tags");
      const json& tags = j["tags"];
      if (!tags.is_array()) Fail(p, "must be an array of tags");
      for (size_t i = 0; i < tags.size(); ++i) o.tags.push_back(ParseTag(tags[i], Index(p, i)));
    }
    if (j.contains("children")) {
      const std::string p = Member(path, "children");
      const json& children = j["children"];
      if (!children.is_array()) Fail(p, "must be an array of objects");
      for (size_t i = 0; i < children.size(); ++i)
        o.children.push_back(ParseObject(children[i], Index(p, i)));
    }
    return o;
  }

  RecordDesc ParseRecord(const json& j, const std::string& path) {
    if (!j.is_object()) Fail(path, "must be an object {\"saved_mode\": INT, \"swap_partner\": KEY or null}");
    RecordDesc r;
    for (const auto& item : j.items()) {
      const std::string p = Member(path, item.key());
      if (item.key() == "saved_mode") {
        r.saved_mode = Int32(item.value(), p);
      } else if (item.key() == "swap_partner") {
        r.has_swap_partner = true;
        if (!item.value().is_null()) {
          r.swap_partner = String(item.value(), p);
          refs_.push_back({p, *r.swap_partner, Ref::kPartner});
        }
      } else {
        Fail(p, "unknown member of a record (saved_mode, swap_partner)");
      }
    }
    return r;
  }

  TagDesc ParseTag(const json& j, const std::string& path) {
    if (!j.is_object()) Fail(path, "a tag must be an object {\"key\": KEY, \"name\": STRING}");
    TagDesc t;
    for (const auto& item : j.items()) {
      const std::string p = Member(path, item.key());
      if (item.key() == "key") {
        t.key = String(item.value(), p);
        DefineKey(t.key, p, true);
      } else if (item.key() == "name") {
        t.name = String(item.value(), p);
      } else {
        Fail(p, "unknown member of a tag (key, name)");
      }
    }
    return t;
  }

  void CheckReferences() const {
    for (const Ref& r : refs_) {
      auto it = keys_.find(r.key);
      if (it == keys_.end()) {
        const char* what = r.kind == Ref::kSelection ? "object" : "object or tag";
        Fail(r.path, Quote(r.key) + " names no " + what + " of the file");
      }
      if (r.kind == Ref::kSelection && it->second.is_tag)
        Fail(r.path, Quote(r.key) + " is a tag; only objects can be selected");
    }
  }

  std::string file_;
  std::map<std::string, KeyDef> keys_;
  std::vector<Ref> refs_;
};

std::string ParseErrorPlace(const std::string& text, const json::parse_error& e) {
  // nlohmann's message reads "[json.exception.parse_error.101] parse error at line L, column C:
  // what"; keep "line L, column C: what".
  std::string what = e.what();
  const auto at = what.find("line ");
  if (at != std::string::npos) return what.substr(at);
  size_t line = 1, column = 0;
  for (size_t i = 0; i < e.byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 0;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
}

// Follows the parser through the document to name the place of a member that an object holds
// twice; JSON itself would silently keep the last one.
class DuplicateMemberCheck {
 public:
  explicit DuplicateMemberCheck(std::string file) : file_(std::move(file)) {}

  bool operator()(int, json::parse_event_t event, json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start: stack_.push_back({false, 0, "", {}}); break;
      case json::parse_event_t::array_start: stack_.push_back({true, 0, "", {}}); break;
      case json::parse_event_t::key: {
        Frame& f = stack_.back();
        f.key = parsed.get<std::string>();
        if (!f.members.insert(f.key).second)
          throw InputError(file_ + ": " + Path() + ": this member is given twice");
        break;
      }
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        stack_.pop_back();
        ElementDone();
        break;
      case json::parse_event_t::value: ElementDone(); break;
    }
    return true;
  }

 private:
  struct Frame {
    bool array;
    size_t index;
    std::string key;
    std::set<std::string> members;
  };

  void ElementDone() {
    if (!stack_.empty() && stack_.back().array) ++stack_.back().index;
  }

  std::string Path() const {
    std::string path;
    for (const Frame& f : stack_) {
      if (f.array) path += "[" + std::to_string(f.index) + "]";
      else path += (path.empty() ? "" : ".") + f.key;
    }
    return path;
  }

  std::string file_;
  std::vector<Frame> stack_;
};

json ParseJson(const std::string& text, const std::string& file) {
  try {
    return json::parse(text, DuplicateMemberCheck(file));
  } catch (const json::parse_error& e) {
    throw InputError(file + ": " + ParseErrorPlace(text, e));
  } catch (const json::out_of_range& e) {
    // A number the reader cannot hold (1e999, a hundred-digit integer); the reader's own text
    // names the number, after its "[json.exception...] " prefix.
    const std::string what = e.what();
    const size_t text_start = what.find("] ");
    throw InputError(file + ": " + (text_start == std::string::npos ? what : what.substr(text_start + 2)));
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) throw InputError(path + ": cannot be read");
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) throw InputError(path + ": cannot be read");
  return s.str();
}

void BuildObject(Host& host, const ObjectDesc& o, GmNode* parent, KeyMap& keys,
                 std::vector<std::pair<const ObjectDesc*, GmNode*>>& built) {
  GmNode* node = host.AddObject(o.type, o.name, parent);
  if (!node) throw InputError("the host refused to create an object of type " + TypeName(o.type));
  keys.Bind(Host::MarkerOf(node), o.key.empty() ? keys.Fresh("obj") : o.key);
  host.SetMatrix(node, o.ml);
  host.SetBits(node, o.bits & ~standin::kBitActive);
  if (IsInstanceType(o.type)) host.SetMode(node, o.mode);
  for (const TagDesc& t : o.tags) {
    GmNode* tag = host.AddTag(node, t.name);
    keys.Bind(Host::MarkerOf(tag), t.key.empty() ? keys.Fresh("tag") : t.key);
  }
  built.emplace_back(&o, node);
  for (const ObjectDesc& child : o.children) BuildObject(host, child, node, keys, built);
}

void ReserveKeys(const ObjectDesc& o, KeyMap& keys) {
  if (!o.key.empty()) keys.Reserve(o.key);
  for (const TagDesc& t : o.tags)
    if (!t.key.empty()) keys.Reserve(t.key);
  for (const ObjectDesc& c : o.children) ReserveKeys(c, keys);
}

// The key of what a stored marker resolves to in the document, or nothing when it is dead.
std::optional<std::string> LiveKey(Host& host, Marker marker, KeyMap& keys) {
  if (marker == 0) return std::nullopt;
  GmNode* node = host.Api()->link_resolve(marker, host.ActiveDocument(), 0);
  if (!node) return std::nullopt;
  return keys.KeyOf(Host::MarkerOf(node));
}

ObjectDesc CaptureObject(Host& host, GmNode* node, KeyMap& keys) {
  ObjectDesc o;
  o.key = keys.KeyOf(Host::MarkerOf(node));
  o.name = host.Name(node);
  o.type = host.Type(node);
  if (IsInstanceType(o.type)) {
    o.link = LiveKey(host, host.LinkMarker(node), keys);
    o.mode = host.Mode(node);
  }
  o.ml = host.Matrix(node);
  o.bits = host.Bits(node) & ~standin::kBitActive;
  if (auto r = host.GetRecord(node)) {
    RecordDesc rd;
    rd.saved_mode = r->saved_mode;
    rd.has_swap_partner = r->swap_partner.has_value();
    if (r->swap_partner) rd.swap_partner = LiveKey(host, *r->swap_partner, keys);
    o.record = rd;
  }
  for (GmNode* tag : host.Tags(node))
    o.tags.push_back({keys.KeyOf(Host::MarkerOf(tag)), host.Name(tag)});
  for (GmNode* child : host.Children(node)) o.children.push_back(CaptureObject(host, child, keys));
  return o;
}

nlohmann::ordered_json VectorJson(const double v[3]) {
  return nlohmann::ordered_json::array({v[0], v[1], v[2]});
}

nlohmann::ordered_json ObjectJson(const ObjectDesc& o) {
  nlohmann::ordered_json j;
  j["key"] = o.key;
  j["name"] = o.name;
  if (o.type == kTypeNull || o.type == kTypeCube || o.type == kTypeSphere ||
      o.type == kTypeInstance || o.type == kTypeInstanceDerived)
    j["type"] = TypeName(o.type);
  else
    j["type"] = o.type;
  if (IsInstanceType(o.type)) {
    j["link"] = o.link ? nlohmann::ordered_json(*o.link) : nlohmann::ordered_json(nullptr);
    j["mode"] = o.mode;
  }
  if (IsTranslation(o.ml)) {
    j["position"] = VectorJson(o.ml.off);
  } else {
    j["matrix"] = {{"off", VectorJson(o.ml.off)},
                   {"v1", VectorJson(o.ml.v1)},
                   {"v2", VectorJson(o.ml.v2)},
                   {"v3", VectorJson(o.ml.v3)}};
  }
  if (o.bits != 0) j["bits"] = o.bits;
  if (o.record) {
    nlohmann::ordered_json r = nlohmann::ordered_json::object();
    if (o.record->saved_mode) r["saved_mode"] = *o.record->saved_mode;
    if (o.record->has_swap_partner)
      r["swap_partner"] = o.record->swap_partner ? nlohmann::ordered_json(*o.record->swap_partner)
                                                 : nlohmann::ordered_json(nullptr);
    j["record"] = r;
  }
  if (!o.tags.empty()) {
    j["tags"] = nlohmann::ordered_json::array();
    for (const TagDesc& t : o.tags) j["tags"].push_back({{"key", t.key}, {"name", t.name}});
  }
  if (!o.children.empty()) {
    j["children"] = nlohmann::ordered_json::array();
    for (const ObjectDesc& c : o.children) j["children"].push_back(ObjectJson(c));
  }
  return j;
}

void CheckPrefsJson(const json& root, const std::string& file) {
  auto fail = [&file](const std::string& path, const std::string& what) {
    throw InputError(file + ": " + (path.empty() ? "" : path + ": ") + what);
  };
  auto is_id = [](const std::string& s) {
    if (s.empty() || s.size() > 11) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
      if (s[i] < '0' || s[i] > '9') return false;
    const long long v = std::stoll(s);
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
  };
  if (!root.is_object()) fail("", "preferences must be a JSON object {\"plugins\": {...}}");
  for (const auto& item : root.items())
    if (item.key() != "plugins") fail(item.key(), "unknown member (preferences have \"plugins\")");
  if (!root.contains("plugins")) return;
  const json& plugins = root["plugins"];
  if (!plugins.is_object()) fail("plugins", "must be an object: plugin id -> container");
  for (const auto& [id, container] : plugins.items()) {
    const std::string p = "plugins." + id;
    if (!is_id(id)) fail(p, "a plugin id must be an integer");
    if (!container.is_object()) fail(p, "must be an object: element id -> integer");
    for (const auto& [elem, value] : container.items()) {
      const std::string q = p + "." + elem;
      if (!is_id(elem)) fail(q, "an element id must be an integer");
      if (!value.is_number_integer()) fail(q, "must be an integer");
      const bool out_of_range =
          value.is_number_unsigned()
              ? value.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())
              : value.get<int64_t>() < std::numeric_limits<int32_t>::min() ||
                    value.get<int64_t>() > std::numeric_limits<int32_t>::max();
      if (out_of_range) fail(q, "is out of the 32-bit range");
    }
  }
}

}  // namespace

bool IsInstanceType(int32_t type) { return type == kTypeInstance || type == kTypeInstanceDerived; }

std::string TypeName(int32_t type) {
  switch (type) {
    case kTypeNull: return "null";
    case kTypeCube: return "cube";
    case kTypeSphere: return "sphere";
    case kTypeInstance: return "instance";
    case kTypeInstanceDerived: return "instance-derived";
    default: return std::to_string(type);
  }
}

bool ObjectDesc::operator==(const ObjectDesc& o) const {
  return key == o.key && name == o.name && type == o.type && link == o.link && mode == o.mode &&
         SameMatrix(ml, o.ml) && bits == o.bits && record == o.record && tags == o.tags &&
         children == o.children;
}

void KeyMap::Reserve(const std::string& key) { by_key_.emplace(key, 0); }

void KeyMap::Bind(Marker marker, const std::string& key) {
  by_marker_[marker] = key;
  by_key_[key] = marker;
}

const std::string& KeyMap::KeyOf(Marker marker) {
  auto it = by_marker_.find(marker);
  if (it != by_marker_.end()) return it->second;
  Bind(marker, Fresh("new"));
  return by_marker_[marker];
}

std::optional<Marker> KeyMap::MarkerOf(const std::string& key) const {
  auto it = by_key_.find(key);
  if (it == by_key_.end() || it->second == 0) return std::nullopt;
  return it->second;
}

std::string KeyMap::Fresh(const std::string& prefix) {
  for (;;) {
    std::string key = prefix + std::to_string(next_++);
    if (by_key_.emplace(key, 0).second) return key;
  }
}

SceneDesc ParseScene(const std::string& text, const std::string& file) {
  return Parser(file).Parse(ParseJson(text, file));
}

SceneDesc ReadSceneFile(const std::string& path) { return ParseScene(ReadFile(path), path); }

void BuildScene(Host& host, const SceneDesc& scene, KeyMap& keys) {
  for (const ObjectDesc& o : scene.objects) ReserveKeys(o, keys);
  std::vector<std::pair<const ObjectDesc*, GmNode*>> built;
  for (const ObjectDesc& o : scene.objects) BuildObject(host, o, nullptr, keys, built);
  // Links may point forward in the file, so they are set once every node exists.
  auto node_of = [&](const std::string& key) { return host.Find(*keys.MarkerOf(key)); };
  for (const auto& [desc, node] : built) {
    if (IsInstanceType(desc->type)) host.SetLink(node, desc->link ? node_of(*desc->link) : nullptr);
    if (desc->record) {
      standin::Record r;
      r.saved_mode = desc->record->saved_mode;
      if (desc->record->has_swap_partner)
        r.swap_partner = desc->record->swap_partner
                             ? Host::MarkerOf(node_of(*desc->record->swap_partner))
                             : Marker{0};
      host.SetRecord(node, r);
    }
  }
  std::vector<GmNode*> selection;
  for (const std::string& key : scene.selection) selection.push_back(node_of(key));
  host.Select(selection);
}

void AssignKeys(Host& host, KeyMap& keys) {
  for (GmNode* node : host.Walk()) {
    keys.KeyOf(Host::MarkerOf(node));
    for (GmNode* tag : host.Tags(node)) keys.KeyOf(Host::MarkerOf(tag));
  }
}

SceneDesc CaptureScene(Host& host, KeyMap& keys) {
  AssignKeys(host, keys);
  SceneDesc scene;
  const GmHostApi* api = host.Api();
  for (GmNode* n = api->doc_get_first_object(host.ActiveDocument()); n; n = api->node_get_next(n))
    scene.objects.push_back(CaptureObject(host, n, keys));
  for (GmNode* n : host.Selection()) scene.selection.push_back(keys.KeyOf(Host::MarkerOf(n)));
  return scene;
}

nlohmann::ordered_json SceneToJson(const SceneDesc& scene) {
  nlohmann::ordered_json j;
  j["objects"] = nlohmann::ordered_json::array();
  for (const ObjectDesc& o : scene.objects) j["objects"].push_back(ObjectJson(o));
  j["selection"] = scene.selection;
  return j;
}

namespace {

std::string Scalar(const nlohmann::ordered_json& j) {
  return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// Indented JSON that keeps arrays of plain values ([x, y, z], selections) on one line.
void Pretty(const nlohmann::ordered_json& j, int indent, int depth, std::string& out) {
  const std::string pad(static_cast<size_t>(indent * (depth + 1)), ' ');
  const std::string end_pad(static_cast<size_t>(indent * depth), ' ');
  if (j.is_array()) {
    bool flat = true;
    for (const auto& e : j) flat = flat && !e.is_structured();
    if (flat) {
      out += "[";
      for (size_t i = 0; i < j.size(); ++i) out += (i ? ", " : "") + Scalar(j[i]);
      out += "]";
      return;
    }
    out += "[\n";
    for (size_t i = 0; i < j.size(); ++i) {
      out += pad;
      Pretty(j[i], indent, depth + 1, out);
      out += i + 1 < j.size() ? ",\n" : "\n";
    }
    out += end_pad + "]";
  } else if (j.is_object() && !j.empty()) {
    out += "{\n";
    size_t i = 0;
    for (const auto& [key, value] : j.items()) {
      out += pad + Scalar(key) + ": ";
      Pretty(value, indent, depth + 1, out);
      out += ++i < j.size() ? ",\n" : "\n";
    }
    out += end_pad + "}";
  } else {
    out += Scalar(j);
  }
}

}  // namespace

std::string DumpJson(const nlohmann::ordered_json& j, int indent) {
  if (indent < 0) return Scalar(j);
  std::string out;
  Pretty(j, indent, 0, out);
  return out;
}

void CheckPrefsFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::u8path(path), ec)) return;  // none stored yet
  const std::string text = ReadFile(path);
  CheckPrefsJson(ParseJson(text, path), path);
}

}  // namespace gemhost
