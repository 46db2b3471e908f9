#include "scene_reader.h"

#include <algorithm>
#include <limits>
#include <set>
#include <unordered_map>

#include "input_error.h"

namespace gemhost {

using nlohmann::json;

namespace {

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
    ThrowJsonError(text, file, e);
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
    ThrowJsonError(*text_, file_, e);  // not reached: SyntaxCheck saw the file first
  }

 private:
  // The members of an object entry, one bit each in Open::seen.
  enum EntryMember { kKey, kName, kType, kLink, kMode, kPosition, kMatrix, kBits, kRecord, kTags,
                     kData, kChildren, kEntryMembers };
  static constexpr const char* kEntryMemberNames[kEntryMembers] = {
      "key", "name", "type", "link", "mode", "position", "matrix", "bits", "record", "tags", "data",
      "children"};
  enum RootMember { kObjects, kSelection };

  // An open JSON object or array of the scene's structure.
  struct Open {
    enum Kind : uint8_t { kRoot, kList, kEntry } kind;
    int8_t member = -1;  // kRoot, kEntry: the member whose value comes next
    uint16_t seen = 0;   // kRoot, kEntry: the members given so far
    size_t entry;        // kEntry: its index; kList: the entry whose children it lists, or kTopLevel
    size_t count = 0;    // kList: elements so far
  };

  // A key named by a link, a swap partner or a selection entry, checked once the file is read.
  struct Ref {
    Where place;
    std::string key;
    bool selection;  // only objects can be selected
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
    const std::optional<int32_t> type = TypeOfName(name);
    if (!type)
      Fail(path, "unknown type " + Quote(name) +
                     " (null, cube, sphere, instance, instance-derived, or a type number)");
    return *type;
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

  RecordDesc ParseRecord(json& j, const Where& path) {
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
          refs_.push_back({p, *r.swap_partner, false});
        }
      } else {
        Fail(p, "unknown member of a record (saved_mode, swap_partner)");
      }
    }
    return r;
  }

  // A "data" member: {ID: VALUE, ...} with VALUE one of {"link": KEY or null}, {"int": INT},
  // {"container": DATA}. Returned in ascending id order.
  DataDesc ParseData(json& j, const Where& path, bool on_object, size_t depth = 0) {
    if (!j.is_object()) Fail(path, "must be an object {ID: VALUE, ...}");
    if (depth >= kMaxDataDepth)
      Fail(path, "sub-containers nest deeper than " + std::to_string(kMaxDataDepth) + " levels");
    DataDesc data;
    for (auto& item : j.items()) {
      const Where p = path.Member(item.key());
      const int32_t id = DataId(item.key(), p);
      if (on_object && depth == 0 && IsReservedObjectDataId(id))
        Fail(p, "element " + item.key() + " has its own member (link, mode, record)");
      json& v = item.value();
      if (!v.is_object() || v.size() != 1)
        Fail(p, "must be {\"link\": KEY or null}, {\"int\": INT} or {\"container\": {...}}");
      DataValue value;
      const std::string kind = v.begin().key();
      json& inner = v.begin().value();
      if (kind == "link") {
        value.kind = DataValue::kLink;
        if (!inner.is_null()) {
          value.link = String(inner, p.Member(kind));
          refs_.push_back({p.Member(kind), *value.link, false});
        }
      } else if (kind == "int") {
        value.kind = DataValue::kInt;
        value.i = Int32(inner, p.Member(kind));
      } else if (kind == "container") {
        value.kind = DataValue::kContainer;
        value.sub = ParseData(inner, p.Member(kind), on_object, depth + 1);
      } else {
        Fail(p.Member(kind), "unknown kind of element (link, int, container)");
      }
      data.emplace_back(id, std::move(value));
    }
    std::sort(data.begin(), data.end(),
              [](const std::pair<int32_t, DataValue>& a, const std::pair<int32_t, DataValue>& b) {
                return a.first < b.first;
              });
    return data;
  }

  // An element id: a decimal Int32 written as the host writes it ("-5", "0", "1001"; no sign on
  // positive numbers, no leading zeros), so that no two spellings name one element.
  int32_t DataId(const std::string& text, const Where& path) const {
    const char* what = "an element id must be a decimal 32-bit integer";
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string::npos ||
        (digits.size() > 1 && digits[0] == '0') || (negative && digits == "0"))
      Fail(path, what);
    const int64_t value = std::stoll(text);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
      Fail(path, what);
    return static_cast<int32_t>(value);
  }

  TagDesc ParseTag(json& j, const Where& path, size_t entry, size_t index) {
    if (!j.is_object()) Fail(path, "a tag must be an object {\"key\": KEY, \"name\": STRING, \"data\": {...}}");
    TagDesc t;
    for (auto& item : j.items()) {
      const Where p = path.Member(item.key());
      if (item.key() == "key") {
        t.key = String(item.value(), p);
        DefineKey(t.key, p, KeyDef{entry, static_cast<int64_t>(index)});
      } else if (item.key() == "name") {
        t.name = String(item.value(), p);
      } else if (item.key() == "data") {
        t.data = ParseData(item.value(), p, false);
      } else {
        Fail(p, "unknown member of a tag (key, name, data)");
      }
    }
    return t;
  }

  void CheckReferences() const {
    for (const Ref& r : refs_) {
      auto it = keys_.find(r.key);
      if (it != keys_.end() && !(r.selection && it->second.tag >= 0)) continue;
      if (it == keys_.end()) {
        const char* what = r.selection ? "object" : "object or tag";
        Fail(r.place, Quote(r.key) + " names no " + what + " of the file");
      }
      Fail(r.place, Quote(r.key) + " is a tag; only objects can be selected");
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
    refs_.push_back({path, key, true});
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
        refs_.push_back({p, *o.link, false});
      }
      break;
    case kMode: o.mode = Int32(v, p); break;
    case kPosition: Vector(v, p, o.ml.off); break;
    case kMatrix: ParseMatrix(v, p, o.ml); break;
    case kBits: o.bits = Int32(v, p) & ~standin::kBitActive; break;
    case kRecord: o.record = ParseRecord(v, p); break;
    case kData: o.data = ParseData(v, p, true); break;
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

}  // namespace

SceneDesc ParseScene(const std::string& text, const std::string& file) {
  return Parser(file).Parse(text);
}

SceneDesc ReadSceneFile(const std::string& path) { return ParseScene(ReadInputFile(path), path); }

}  // namespace gemhost
