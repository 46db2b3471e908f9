#include "scene_io.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>

#include "module_record.h"

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

constexpr size_t kTopLevel = static_cast<size_t>(-1);

// The key path of object entry `i` ("objects[2].children[0]"), worked out from the depths of the
// entries before it. Only a message needs it, so it is never built for a file that reads well.
std::string EntryPath(const std::vector<ObjectDesc>& objects, size_t i) {
  std::vector<size_t> indexes;  // among its siblings, from the entry up to the top level
  for (;;) {
    const size_t depth = objects[i].depth;
    size_t index = 0;
    size_t j = i;
    while (j > 0 && objects[j - 1].depth >= depth) {
      --j;
      if (objects[j].depth == depth) ++index;
    }
    indexes.push_back(index);
    if (depth == 0) break;
    i = j - 1;  // the parent
  }
  std::string path;
  for (size_t k = indexes.size(); k-- > 0;)
    path += (k + 1 == indexes.size() ? "objects[" : ".children[") + std::to_string(indexes[k]) + "]";
  return path;
}

// A place in the file: an object entry (or the top level) and the path below it.
struct Where {
  const std::vector<ObjectDesc>* objects;
  size_t entry;  // kTopLevel: the path is all in `below`
  std::string below;

  Where Member(const std::string& name) const {
    return {objects, entry, below.empty() ? name : below + "." + name};
  }
  Where Index(size_t i) const { return {objects, entry, below + "[" + std::to_string(i) + "]"}; }
  std::string Text() const {
    if (entry == kTopLevel) return below;
    const std::string path = EntryPath(*objects, entry);
    return below.empty() ? path : path + "." + below;
  }
};

[[noreturn]] void ThrowReaderError(const std::string& text, const std::string& file,
                                   const json::exception& e);

// Stops at the first fault of the JSON itself: syntax, or a number the reader cannot hold. Run
// over the whole file before its content is looked at, so those faults are reported first.
struct SyntaxCheck {
  const std::string& text;
  const std::string& file;
  bool null() { return true; }
  bool boolean(bool) { return true; }
  bool number_integer(json::number_integer_t) { return true; }
  bool number_unsigned(json::number_unsigned_t) { return true; }
  bool number_float(json::number_float_t, const std::string&) { return true; }
  bool string(std::string&) { return true; }
  bool binary(json::binary_t&) { return true; }
  bool start_object(size_t) { return true; }
  bool key(std::string&) { return true; }
  bool end_object() { return true; }
  bool start_array(size_t) { return true; }
  bool end_array() { return true; }
  bool parse_error(size_t, const std::string&, const json::exception& e) {
    ThrowReaderError(text, file, e);
  }
};

// Reads a scene file into a SceneDesc, checking everything on the way, event by event from the
// JSON reader: the object entries and their "children" lists are followed with a stack of its
// own, and only the other values of an entry (a name, a matrix, the tags) are put together as
// JSON values and checked when they are complete. So no part of reading recurses over the depth
// of the hierarchy. Paths in messages are the key paths of the JSON value
// ("objects[2].children[0].link").
class Parser {
 public:
  explicit Parser(std::string file) : file_(std::move(file)) {}

  SceneDesc Parse(const std::string& text) {
    text_ = &text;
    SyntaxCheck check{text, file_};
    json::sax_parse(text, &check);
    json::sax_parse(text, this);
    CheckReferences();
    return std::move(scene_);
  }

  // The reader's events.
  bool null() { return Value(json(nullptr)); }
  bool boolean(bool v) { return Value(json(v)); }
  bool number_integer(json::number_integer_t v) { return Value(json(v)); }
  bool number_unsigned(json::number_unsigned_t v) { return Value(json(v)); }
  bool number_float(json::number_float_t v, const std::string&) { return Value(json(v)); }
  bool string(std::string& v) { return Value(json(std::move(v))); }
  bool binary(json::binary_t&) { return true; }  // not in JSON text
  bool start_object(size_t) { return Start(json::value_t::object); }
  bool start_array(size_t) { return Start(json::value_t::array); }
  bool end_object() { return End(); }
  bool end_array() { return End(); }
  bool key(std::string& name);
  bool parse_error(size_t, const std::string&, const json::exception& e) {
    ThrowReaderError(*text_, file_, e);  // not reached: SyntaxCheck saw the file first
  }

 private:
  // The members of an object entry, one bit each in Open::seen.
  enum EntryMember { kKey, kName, kType, kLink, kMode, kPosition, kMatrix, kBits, kRecord, kTags,
                     kChildren, kEntryMembers };
  static constexpr const char* kEntryMemberNames[kEntryMembers] = {
      "key", "name", "type", "link", "mode", "position", "matrix", "bits", "record", "tags", "children"};
  enum RootMember { kObjects, kSelection };

  // An open JSON object or array of the scene's structure.
  struct Open {
    enum Kind : uint8_t { kRoot, kList, kEntry } kind;
    int8_t member = -1;  // kRoot, kEntry: the member whose value comes next
    uint16_t seen = 0;   // kRoot, kEntry: the members given so far
    size_t entry;        // kEntry: its index; kList: the entry whose children it lists, or kTopLevel
    size_t count = 0;    // kList: elements so far
  };

  struct Ref {
    size_t entry;  // kTopLevel for a selection entry
    size_t index;  // the selection entry's index
    std::string key;
    enum Kind { kLink, kPartner, kSelection } kind;
  };
  struct KeyDef {
    size_t entry;
    int64_t tag;  // -1: the object's own key
  };

  [[noreturn]] void Fail(const Where& where, const std::string& what) const {
    const std::string path = where.Text();
    throw InputError(file_ + ": " + (path.empty() ? std::string() : path + ": ") + what);
  }

  Where Top(const std::string& below = "") const { return {&scene_.objects, kTopLevel, below}; }
  Where At(size_t entry) const { return {&scene_.objects, entry, ""}; }
  Where KeyPlace(const KeyDef& d) const {
    return d.tag < 0 ? At(d.entry).Member("key")
                     : At(d.entry).Member("tags").Index(static_cast<size_t>(d.tag)).Member("key");
  }
  Where MemberPlace(const Open& o) const {
    return o.kind == Open::kRoot
               ? Top(o.member == kObjects ? "objects" : "selection")
               : At(o.entry).Member(kEntryMemberNames[o.member]);
  }
  Where ElementPlace(const Open& list) const {
    return (list.entry == kTopLevel ? Top("objects") : At(list.entry).Member("children"))
        .Index(list.count);
  }
  // Where the value being put together has got to, down to its innermost open part.
  Where ValuePlace() const {
    Where w = MemberPlace(open_.back());
    for (size_t i = 0; i + 1 < value_stack_.size(); ++i)
      w = value_stack_[i]->is_array() ? w.Index(value_stack_[i]->size() - 1) : w.Member(value_keys_[i]);
    return w;
  }

  bool Value(json&& v);
  bool Start(json::value_t type);
  bool End();
  void MemberDone(Open& o, json& v);
  void EntryMemberDone(const Open& o, json& v);
  void EntryDone(const Open& o);

  int32_t Int32(const json& j, const Where& path) const {
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

  void Vector(const json& j, const Where& path, double out[3]) const {
    if (!j.is_array() || j.size() != 3) Fail(path, "must be an array of three numbers [X, Y, Z]");
    for (size_t i = 0; i < 3; ++i) {
      if (!j[i].is_number()) Fail(path.Index(i), "must be a number");
      out[i] = j[i].get<double>();
    }
  }

  std::string String(json& j, const Where& path) const {
    if (!j.is_string()) Fail(path, "must be a string");
    return std::move(j.get_ref<std::string&>());
  }

  void DefineKey(const std::string& key, const Where& path, KeyDef def) {
    if (key.empty()) Fail(path, "a key must not be empty");
    auto [it, inserted] = keys_.emplace(key, def);
    if (!inserted)
      Fail(path, "duplicate key " + Quote(key) + " (already used at " + KeyPlace(it->second).Text() + ")");
  }

  int32_t ParseType(const json& j, const Where& path) const {
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

  void ParseMatrix(const json& m, const Where& p, GmMatrix& ml) const {
    if (!m.is_object()) Fail(p, "must be an object {\"off\": [..], \"v1\": [..], \"v2\": [..], \"v3\": [..]}");
    for (const auto& item : m.items())
      if (item.key() != "off" && item.key() != "v1" && item.key() != "v2" && item.key() != "v3")
        Fail(p.Member(item.key()), "unknown member of a matrix (off, v1, v2, v3)");
    const std::pair<const char*, double*> parts[] = {
        {"off", ml.off}, {"v1", ml.v1}, {"v2", ml.v2}, {"v3", ml.v3}};
    for (const auto& [name, dst] : parts) {
      if (!m.contains(name)) Fail(p.Member(name), "missing");
      Vector(m[name], p.Member(name), dst);
    }
  }

  RecordDesc ParseRecord(json& j, const Where& path, size_t entry) {
    if (!j.is_object()) Fail(path, "must be an object {\"saved_mode\": INT, \"swap_partner\": KEY or null}");
    RecordDesc r;
    for (auto& item : j.items()) {
      const Where p = path.Member(item.key());
      if (item.key() == "saved_mode") {
        r.saved_mode = Int32(item.value(), p);
      } else if (item.key() == "swap_partner") {
        r.has_swap_partner = true;
        if (!item.value().is_null()) {
          r.swap_partner = String(item.value(), p);
          refs_.push_back({entry, 0, *r.swap_partner, Ref::kPartner});
        }
      } else {
        Fail(p, "unknown member of a record (saved_mode, swap_partner)");
      }
    }
    return r;
  }

  TagDesc ParseTag(json& j, const Where& path, size_t entry, size_t index) {
    if (!j.is_object()) Fail(path, "a tag must be an object {\"key\": KEY, \"name\": STRING}");
    TagDesc t;
    for (auto& item : j.items()) {
      const Where p = path.Member(item.key());
      if (item.key() == "key") {
        t.key = String(item.value(), p);
        DefineKey(t.key, p, KeyDef{entry, static_cast<int64_t>(index)});
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
      if (it != keys_.end() && !(r.kind == Ref::kSelection && it->second.tag >= 0)) continue;
      const Where place = r.kind == Ref::kSelection ? Top("selection").Index(r.index)
                          : r.kind == Ref::kLink    ? At(r.entry).Member("link")
                                                    : At(r.entry).Member("record").Member("swap_partner");
      if (it == keys_.end()) {
        const char* what = r.kind == Ref::kSelection ? "object" : "object or tag";
        Fail(place, Quote(r.key) + " names no " + what + " of the file");
      }
      Fail(place, Quote(r.key) + " is a tag; only objects can be selected");
    }
  }

  std::string file_;
  const std::string* text_ = nullptr;
  SceneDesc scene_;
  std::vector<Open> open_;
  // The member value being put together (empty stack: none), its open parts and their current keys.
  json value_;
  std::vector<json*> value_stack_;
  std::vector<std::string> value_keys_;
  json* value_slot_ = nullptr;  // where the next value of the innermost open object goes
  std::unordered_map<std::string, KeyDef> keys_;
  std::vector<Ref> refs_;
};

bool Parser::key(std::string& name) {
  if (!value_stack_.empty()) {
    json& object = *value_stack_.back();
    if (object.contains(name)) Fail(ValuePlace().Member(name), "this member is given twice");
    value_keys_.back() = name;
    value_slot_ = &object[name];
    return true;
  }
  Open& o = open_.back();
  int member = -1;
  if (o.kind == Open::kRoot) {
    if (name == "objects") member = kObjects;
    else if (name == "selection") member = kSelection;
    else Fail(Top(name), "unknown member (a scene has \"objects\" and \"selection\")");
  } else {
    for (int m = 0; m < kEntryMembers; ++m)
      if (name == kEntryMemberNames[m]) member = m;
    if (member < 0) Fail(At(o.entry).Member(name), "unknown member of an object");
  }
  o.member = static_cast<int8_t>(member);
  if (o.seen & (1u << member)) Fail(MemberPlace(o), "this member is given twice");
  o.seen = static_cast<uint16_t>(o.seen | (1u << member));
  return true;
}

bool Parser::Value(json&& v) {
  if (!value_stack_.empty()) {
    json& part = *value_stack_.back();
    if (part.is_array()) part.push_back(std::move(v));
    else *value_slot_ = std::move(v);
    return true;
  }
  if (open_.empty()) Fail(Top(), "a scene must be a JSON object {\"objects\": [...], \"selection\": [...]}");
  Open& o = open_.back();
  if (o.kind == Open::kList) Fail(ElementPlace(o), "an object entry must be a JSON object");
  MemberDone(o, v);
  return true;
}

bool Parser::Start(json::value_t type) {
  if (!value_stack_.empty()) {
    json& part = *value_stack_.back();
    json* inner;
    if (part.is_array()) {
      part.push_back(json(type));
      inner = &part.back();
    } else {
      *value_slot_ = json(type);
      inner = value_slot_;
    }
    value_stack_.push_back(inner);
    value_keys_.emplace_back();
    return true;
  }
  if (open_.empty()) {
    if (type != json::value_t::object)
      Fail(Top(), "a scene must be a JSON object {\"objects\": [...], \"selection\": [...]}");
    open_.push_back({Open::kRoot, -1, 0, kTopLevel, 0});
    return true;
  }
  Open& o = open_.back();
  if (o.kind == Open::kList) {
    if (type != json::value_t::object) Fail(ElementPlace(o), "an object entry must be a JSON object");
    ObjectDesc entry;
    entry.depth = o.entry == kTopLevel ? 0 : scene_.objects[o.entry].depth + 1;
    ++o.count;
    scene_.objects.push_back(std::move(entry));
    open_.push_back({Open::kEntry, -1, 0, scene_.objects.size() - 1, 0});
    return true;
  }
  const bool list = type == json::value_t::array &&
                    (o.kind == Open::kRoot ? o.member == kObjects : o.member == kChildren);
  if (list) {
    open_.push_back({Open::kList, -1, 0, o.kind == Open::kRoot ? kTopLevel : o.entry, 0});
    return true;
  }
  value_ = json(type);
  value_stack_.push_back(&value_);
  value_keys_.emplace_back();
  return true;
}

bool Parser::End() {
  if (!value_stack_.empty()) {
    value_stack_.pop_back();
    value_keys_.pop_back();
    if (value_stack_.empty()) {
      json v = std::move(value_);
      value_ = json();
      MemberDone(open_.back(), v);
    }
    return true;
  }
  const Open o = open_.back();
  open_.pop_back();
  if (o.kind == Open::kEntry) EntryDone(o);
  return true;
}

void Parser::MemberDone(Open& o, json& v) {
  if (o.kind == Open::kEntry) {
    EntryMemberDone(o, v);
    return;
  }
  if (o.member == kObjects) Fail(Top("objects"), "must be an array of objects");
  if (!v.is_array()) Fail(Top("selection"), "must be an array of keys");
  std::set<std::string> seen;
  for (size_t i = 0; i < v.size(); ++i) {
    const Where path = Top("selection").Index(i);
    if (!v[i].is_string()) Fail(path, "must be the key of an object (a string)");
    const std::string key = v[i].get<std::string>();
    if (!seen.insert(key).second) Fail(path, Quote(key) + " is selected twice");
    refs_.push_back({kTopLevel, i, key, Ref::kSelection});
    scene_.selection.push_back(key);
  }
}

void Parser::EntryMemberDone(const Open& e, json& v) {
  ObjectDesc& o = scene_.objects[e.entry];
  const Where p = MemberPlace(e);
  switch (e.member) {
    case kKey:
      o.key = String(v, p);
      DefineKey(o.key, p, KeyDef{e.entry, -1});
      break;
    case kName: o.name = String(v, p); break;
    case kType: o.type = ParseType(v, p); break;
    case kLink:
      if (!v.is_null()) {
        o.link = String(v, p);
        refs_.push_back({e.entry, 0, *o.link, Ref::kLink});
      }
      break;
    case kMode: o.mode = Int32(v, p); break;
    case kPosition: Vector(v, p, o.ml.off); break;
    case kMatrix: ParseMatrix(v, p, o.ml); break;
    case kBits: o.bits = Int32(v, p) & ~standin::kBitActive; break;
    case kRecord: o.record = ParseRecord(v, p, e.entry); break;
    case kTags:
      if (!v.is_array()) Fail(p, "must be an array of tags");
      for (size_t i = 0; i < v.size(); ++i) o.tags.push_back(ParseTag(v[i], p.Index(i), e.entry, i));
      break;
    default: Fail(p, "must be an array of objects");  // children that are not a list
  }
}

// What can only be checked once every member of the entry is known.
void Parser::EntryDone(const Open& e) {
  const bool instance = IsInstanceType(scene_.objects[e.entry].type);
  if (!instance && (e.seen & (1u << kLink))) Fail(At(e.entry).Member("link"), "only instance objects have a link");
  if (!instance && (e.seen & (1u << kMode))) Fail(At(e.entry).Member("mode"), "only instance objects have a mode");
  if ((e.seen & (1u << kPosition)) && (e.seen & (1u << kMatrix)))
    Fail(At(e.entry).Member("matrix"), "give either \"position\" or \"matrix\", not both");
}

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

void ThrowReaderError(const std::string& text, const std::string& file, const json::exception& e) {
  if (const auto* syntax = dynamic_cast<const json::parse_error*>(&e))
    throw InputError(file + ": " + ParseErrorPlace(text, *syntax));
  // A number the reader cannot hold (1e999); the reader's own text names the number, after its
  // "[json.exception...] " prefix.
  const std::string what = e.what();
  const size_t text_start = what.find("] ");
  throw InputError(file + ": " + (text_start == std::string::npos ? what : what.substr(text_start + 2)));
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

// The key of what a stored marker resolves to in the document, or nothing when it is dead.
std::optional<std::string> LiveKey(Host& host, Marker marker, KeyMap& keys) {
  if (marker == 0) return std::nullopt;
  GmNode* node = host.Api()->link_resolve(marker, host.ActiveDocument(), 0);
  if (!node) return std::nullopt;
  return keys.KeyOf(Host::MarkerOf(node));
}

ObjectDesc CaptureObject(Host& host, GmNode* node, size_t depth, KeyMap& keys) {
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
  if (auto r = ReadRecord(host, node)) {
    RecordDesc rd;
    rd.saved_mode = r->saved_mode;
    rd.has_swap_partner = r->swap_partner.has_value();
    if (r->swap_partner) rd.swap_partner = LiveKey(host, *r->swap_partner, keys);
    o.record = rd;
  }
  for (GmNode* tag : host.Tags(node))
    o.tags.push_back({keys.KeyOf(Host::MarkerOf(tag)), host.Name(tag)});
  o.depth = depth;
  return o;
}

nlohmann::ordered_json VectorJson(const double v[3]) {
  return nlohmann::ordered_json::array({v[0], v[1], v[2]});
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
         depth == o.depth;
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
  return Parser(file).Parse(text);
}

SceneDesc ReadSceneFile(const std::string& path) { return ParseScene(ReadFile(path), path); }

void BuildScene(Host& host, const SceneDesc& scene, KeyMap& keys) {
  for (const ObjectDesc& o : scene.objects) {
    if (!o.key.empty()) keys.Reserve(o.key);
    for (const TagDesc& t : o.tags)
      if (!t.key.empty()) keys.Reserve(t.key);
  }
  std::vector<GmNode*> built;
  built.reserve(scene.objects.size());
  std::vector<GmNode*> parents;  // the last object built at each depth above the current one
  for (const ObjectDesc& o : scene.objects) {
    if (o.depth > parents.size())
      throw InputError("object " + Quote(o.key) + " lies more than one level below the object before it");
    parents.resize(o.depth);
    GmNode* node = host.AddObject(o.type, o.name, parents.empty() ? nullptr : parents.back());
    if (!node) throw InputError("the host refused to create an object of type " + TypeName(o.type));
    keys.Bind(Host::MarkerOf(node), o.key.empty() ? keys.Fresh("obj") : o.key);
    host.SetMatrix(node, o.ml);
    host.SetBits(node, o.bits & ~standin::kBitActive);
    if (IsInstanceType(o.type)) host.SetMode(node, o.mode);
    for (const TagDesc& t : o.tags) {
      GmNode* tag = host.AddTag(node, t.name);
      keys.Bind(Host::MarkerOf(tag), t.key.empty() ? keys.Fresh("tag") : t.key);
    }
    built.push_back(node);
    parents.push_back(node);
  }
  // Links may point forward in the file, so they are set once every node exists.
  auto node_of = [&](const std::string& key) { return host.Find(*keys.MarkerOf(key)); };
  for (size_t i = 0; i < built.size(); ++i) {
    const ObjectDesc& desc = scene.objects[i];
    GmNode* node = built[i];
    if (IsInstanceType(desc.type)) host.SetLink(node, desc.link ? node_of(*desc.link) : nullptr);
    if (desc.record) {
      Record r;
      r.saved_mode = desc.record->saved_mode;
      if (desc.record->has_swap_partner)
        r.swap_partner = desc.record->swap_partner
                             ? Host::MarkerOf(node_of(*desc.record->swap_partner))
                             : Marker{0};
      WriteRecord(host, node, r);
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
  // Document order without recursion: down where there are children, else along, else up.
  size_t depth = 0;
  for (GmNode* n = api->doc_get_first_object(host.ActiveDocument()); n;) {
    scene.objects.push_back(CaptureObject(host, n, depth, keys));
    if (GmNode* down = api->node_get_down(n)) {
      n = down;
      ++depth;
      continue;
    }
    while (n && !api->node_get_next(n)) {
      n = depth > 0 ? api->node_get_up(n) : nullptr;
      if (depth > 0) --depth;
    }
    if (n) n = api->node_get_next(n);
  }
  for (GmNode* n : host.Selection()) scene.selection.push_back(keys.KeyOf(Host::MarkerOf(n)));
  return scene;
}

namespace {

std::string Scalar(const nlohmann::ordered_json& j) {
  return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string Pad(int indent, size_t level) {
  if (indent < 0) return std::string();
  return std::string(static_cast<size_t>(indent) * std::min(level, static_cast<size_t>(kMaxIndentLevels)), ' ');
}

// Indented JSON of a member value (a matrix, the tags), keeping arrays of plain values
// ([x, y, z], selections) on one line. These values are a few levels deep at most.
void Pretty(const nlohmann::ordered_json& j, int indent, size_t depth, std::string& out) {
  if (indent < 0) {
    out += Scalar(j);
    return;
  }
  const std::string pad = Pad(indent, depth + 1);
  const std::string end_pad = Pad(indent, depth);
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

// Appends a string as JSON; most names and keys are plain ASCII and are copied as they are.
void AppendString(std::string& out, const std::string& s) {
  for (unsigned char c : s) {
    if (c < 0x20 || c == '"' || c == '\\' || c >= 0x80) {
      out += Scalar(nlohmann::ordered_json(s));
      return;
    }
  }
  out += '"';
  out += s;
  out += '"';
}

void AppendNumber(std::string& out, double v) {
  if (v == 0 && !std::signbit(v)) out += "0.0";  // most coordinates; the rest as the library writes them
  else out += Scalar(nlohmann::ordered_json(v));
}

void AppendVector(std::string& out, const double v[3], int indent) {
  const char* comma = indent < 0 ? "," : ", ";
  out += "[";
  for (int i = 0; i < 3; ++i) {
    if (i) out += comma;
    AppendNumber(out, v[i]);
  }
  out += "]";
}

// Writes an object's members, all but "children", at JSON level `level`; the less common ones
// (matrix, record, tags) go through the general writer.
void AppendMembers(std::string& out, const ObjectDesc& o, int indent, size_t level, bool more) {
  const std::string nl = indent < 0 ? "" : "\n";
  const std::string pad = Pad(indent, level + 1);
  const char* colon = indent < 0 ? ":" : ": ";
  bool first = true;
  auto member = [&](const char* name) {
    if (!first) out += "," + nl;
    first = false;
    out += pad + "\"" + name + "\"" + colon;
  };
  member("key");
  AppendString(out, o.key);
  member("name");
  AppendString(out, o.name);
  member("type");
  if (o.type == kTypeNull || o.type == kTypeCube || o.type == kTypeSphere ||
      o.type == kTypeInstance || o.type == kTypeInstanceDerived)
    AppendString(out, TypeName(o.type));
  else
    out += std::to_string(o.type);
  if (IsInstanceType(o.type)) {
    member("link");
    if (o.link) AppendString(out, *o.link);
    else out += "null";
    member("mode");
    out += std::to_string(o.mode);
  }
  if (IsTranslation(o.ml)) {
    member("position");
    AppendVector(out, o.ml.off, indent);
  } else {
    member("matrix");
    Pretty({{"off", VectorJson(o.ml.off)},
            {"v1", VectorJson(o.ml.v1)},
            {"v2", VectorJson(o.ml.v2)},
            {"v3", VectorJson(o.ml.v3)}},
           indent, level + 1, out);
  }
  if (o.bits != 0) {
    member("bits");
    out += std::to_string(o.bits);
  }
  if (o.record) {
    nlohmann::ordered_json r = nlohmann::ordered_json::object();
    if (o.record->saved_mode) r["saved_mode"] = *o.record->saved_mode;
    if (o.record->has_swap_partner)
      r["swap_partner"] = o.record->swap_partner ? nlohmann::ordered_json(*o.record->swap_partner)
                                                 : nlohmann::ordered_json(nullptr);
    member("record");
    Pretty(r, indent, level + 1, out);
  }
  if (!o.tags.empty()) {
    nlohmann::ordered_json tags = nlohmann::ordered_json::array();
    for (const TagDesc& t : o.tags) tags.push_back({{"key", t.key}, {"name", t.name}});
    member("tags");
    Pretty(tags, indent, level + 1, out);
  }
  out += (more ? "," : "") + nl;
}

}  // namespace

void WriteSceneText(std::ostream& os, const SceneDesc& scene, int indent) {
  const std::string nl = indent < 0 ? "" : "\n";
  const std::string colon = indent < 0 ? ":" : ": ";
  // JSON levels: the scene object 0, "objects" 1, a top-level object 2, its "children" 3, a
  // child 4, and so on.
  auto level_of = [](size_t depth) { return 2 + 2 * depth; };
  // Written object by object, so that the text of a large scene is never held whole.
  std::string out = "{" + nl + Pad(indent, 1) + "\"objects\"" + colon;
  const std::vector<ObjectDesc>& objects = scene.objects;
  if (objects.empty()) out += "[]";
  else out += "[" + nl;
  for (size_t i = 0; i < objects.size(); ++i) {
    const size_t depth = objects[i].depth;
    const size_t level = level_of(depth);
    const bool has_children = i + 1 < objects.size() && objects[i + 1].depth == depth + 1;
    out += Pad(indent, level) + "{" + nl;
    AppendMembers(out, objects[i], indent, level, has_children);
    if (has_children) {
      out += Pad(indent, level + 1) + "\"children\"" + colon + "[" + nl;
      os << out;
      out.clear();
      continue;  // the next object is the first child
    }
    out += Pad(indent, level) + "}";
    // Close the lists of children this object ends, up to the depth of the next object.
    const bool more = i + 1 < objects.size();
    const size_t next_depth = more ? objects[i + 1].depth : 0;
    for (size_t d = depth; d > next_depth; --d)
      out += nl + Pad(indent, level_of(d) - 1) + "]" + nl + Pad(indent, level_of(d - 1)) + "}";
    out += more ? "," + nl : nl + Pad(indent, 1) + "]";
    os << out;
    out.clear();
  }
  out += "," + nl + Pad(indent, 1) + "\"selection\"" + colon;
  Pretty(nlohmann::ordered_json(scene.selection), indent, 1, out);
  out += nl + "}";
  os << out;
}

std::string SceneText(const SceneDesc& scene, int indent) {
  std::ostringstream os;
  WriteSceneText(os, scene, indent);
  return os.str();
}

std::string DumpJson(const nlohmann::ordered_json& j) { return Scalar(j); }

void CheckPrefsFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::u8path(path), ec)) return;  // none stored yet
  const std::string text = ReadFile(path);
  CheckPrefsJson(ParseJson(text, path), path);
}

}  // namespace gemhost
