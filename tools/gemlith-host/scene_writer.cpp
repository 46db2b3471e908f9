#include "scene_writer.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace gemhost {

namespace {

bool IsTranslation(const GmMatrix& m) {
  GmMatrix t = standin::IdentityMatrix();
  for (int i = 0; i < 3; ++i) t.off[i] = m.off[i];
  return SameMatrix(m, t);
}

nlohmann::ordered_json VectorJson(const double v[3]) {
  return nlohmann::ordered_json::array({v[0], v[1], v[2]});
}

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

// A "data" member's value, in the order held (ascending ids).
nlohmann::ordered_json DataJson(const DataDesc& data) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  for (const auto& [id, v] : data) {
    nlohmann::ordered_json value;
    switch (v.kind) {
      case DataValue::kLink:
        value["link"] = v.link ? nlohmann::ordered_json(*v.link) : nlohmann::ordered_json(nullptr);
        break;
      case DataValue::kInt: value["int"] = v.i; break;
      case DataValue::kContainer: value["container"] = DataJson(v.sub); break;
    }
    j[std::to_string(id)] = std::move(value);
  }
  return j;
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
  if (const std::optional<std::string> type_name = NameOfType(o.type))
    AppendString(out, *type_name);
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
    for (const TagDesc& t : o.tags) {
      nlohmann::ordered_json tag = {{"key", t.key}, {"name", t.name}};
      if (!t.data.empty()) tag["data"] = DataJson(t.data);
      tags.push_back(std::move(tag));
    }
    member("tags");
    Pretty(tags, indent, level + 1, out);
  }
  if (!o.data.empty()) {
    member("data");
    Pretty(DataJson(o.data), indent, level + 1, out);
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

}  // namespace gemhost
