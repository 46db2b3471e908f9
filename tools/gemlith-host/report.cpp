#include "report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "scene_writer.h"

namespace gemhost {

using nlohmann::ordered_json;
using standin::Host;

namespace {

// Whether the module's settings dialog is open after the run.
bool SettingsOpen(const standin::Activity& a) {
  return std::find(a.open_dialogs.begin(), a.open_dialogs.end(), kEntrySettings) !=
         a.open_dialogs.end();
}

std::string Number(double v) {
  if (v == 0) return "0";  // also -0
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string Vec(const double v[3]) {
  return "(" + Number(v[0]) + ", " + Number(v[1]) + ", " + Number(v[2]) + ")";
}

bool IsIdentityRotation(const GmMatrix& m) {
  return m.v1[0] == 1 && m.v1[1] == 0 && m.v1[2] == 0 && m.v2[0] == 0 && m.v2[1] == 1 &&
         m.v2[2] == 0 && m.v3[0] == 0 && m.v3[1] == 0 && m.v3[2] == 1;
}

// Names by key, objects and tags, for "→ key (name)".
void CollectNames(const std::vector<ObjectDesc>& objects, std::map<std::string, std::string>& out,
                  std::map<std::string, bool>& is_tag) {
  for (const ObjectDesc& o : objects) {
    out[o.key] = o.name;
    for (const TagDesc& t : o.tags) {
      out[t.key] = t.name;
      is_tag[t.key] = true;
    }
  }
}

// Levels of the tree drawn with guide lines; deeper objects carry their level as a number
// instead, so that a line stays short however deep the hierarchy is.
constexpr size_t kDrawnLevels = 32;

struct TreePrinter {
  std::map<std::string, std::string> names;
  std::map<std::string, bool> is_tag;
  std::map<std::string, size_t> rank;  // selection order, 1-based
  std::ostringstream out;

  std::string Target(const std::optional<std::string>& key) {
    if (!key) return "(nothing)";
    std::string s = "→ " + *key;
    auto it = names.find(*key);
    if (is_tag.count(*key)) s += " (tag \"" + it->second + "\")";
    else if (it != names.end() && it->second != *key) s += " \"" + it->second + "\"";
    return s;
  }

  // "{id: → key "name", id: 5, id: {...}}"
  std::string Data(const DataDesc& data) {
    std::string s = "{";
    for (const auto& [id, v] : data) {
      if (s.size() > 1) s += ", ";
      s += std::to_string(id) + ": ";
      switch (v.kind) {
        case DataValue::kLink: s += Target(v.link); break;
        case DataValue::kInt: s += std::to_string(v.i); break;
        case DataValue::kContainer: s += Data(v.sub); break;
      }
    }
    return s + "}";
  }

  // One line; `indent` holds the guide lines of the levels above.
  void Object(const ObjectDesc& o, const std::string& indent, bool last) {
    auto r = rank.find(o.key);
    std::string mark = r == rank.end() ? "" : "[" + std::to_string(r->second) + "]";
    while (mark.size() < 5) mark += ' ';
    out << mark << indent;
    if (o.depth > kDrawnLevels + 1) out << "… level " << o.depth << " ";
    if (o.depth > 0) out << (last ? "└─ " : "├─ ");
    out << (o.name.empty() ? "(no name)" : "\"" + o.name + "\"") << " <" << o.key << "> "
        << TypeName(o.type);
    if (IsInstanceType(o.type)) out << " " << Target(o.link) << ", mode " << o.mode;
    if (IsIdentityRotation(o.ml)) {
      if (o.ml.off[0] != 0 || o.ml.off[1] != 0 || o.ml.off[2] != 0) out << " at " << Vec(o.ml.off);
    } else {
      out << " matrix off " << Vec(o.ml.off) << " v1 " << Vec(o.ml.v1) << " v2 " << Vec(o.ml.v2)
          << " v3 " << Vec(o.ml.v3);
    }
    if (o.bits != 0) out << " bits " << o.bits;
    if (o.record) {
      out << " record {";
      if (o.record->saved_mode) out << "saved_mode " << *o.record->saved_mode;
      if (o.record->has_swap_partner)
        out << (o.record->saved_mode ? ", " : "") << "swap_partner " << Target(o.record->swap_partner);
      out << "}";
    }
    if (!o.data.empty()) out << " data " << Data(o.data);
    for (const TagDesc& t : o.tags) {
      out << " #\"" << t.name << "\" <" << t.key << ">";
      if (!t.data.empty()) out << " data " << Data(t.data);
    }
    out << "\n";
  }

  void Objects(const std::vector<ObjectDesc>& objects) {
    // last[i]: no sibling follows object i (found walking backwards: a later object at the same
    // depth, before any shallower one, is a sibling).
    std::vector<bool> last(objects.size());
    std::vector<bool> later;  // later[d]: an object at depth d follows, within the current parent
    for (size_t i = objects.size(); i-- > 0;) {
      const size_t d = objects[i].depth;
      later.resize(d + 1);
      last[i] = !later[d];
      later[d] = true;
    }
    // The guide lines: one piece per level from depth 1 on ("│  " where the level's object has a
    // sibling still to come), at most kDrawnLevels of them.
    std::string indent;
    std::vector<size_t> indent_length;  // indent_length[k]: the length of k pieces
    for (size_t i = 0; i < objects.size(); ++i) {
      const size_t d = objects[i].depth;
      const size_t pieces = std::min(d > 0 ? d - 1 : 0, kDrawnLevels);
      indent_length.resize(std::min(indent_length.size(), pieces + 1));
      if (indent_length.empty()) indent_length.push_back(0);
      indent.resize(indent_length.back());
      Object(objects[i], indent, last[i]);
      if (d > 0 && pieces < kDrawnLevels && indent_length.size() == pieces + 1) {
        indent += last[i] ? "   " : "│  ";
        indent_length.push_back(indent.size());
      }
    }
  }
};

std::string EntryLabel(int32_t id, const std::map<int32_t, std::string>& names) {
  auto it = names.find(id);
  std::string label = it == names.end() ? "not registered" : it->second;
  if (label == "--") label = "separator";
  return label + ", " + std::to_string(id);
}

class JsonReporter : public Reporter {
 public:
  JsonReporter(std::ostream& out, std::ostream& err, KeyMap& keys)
      : out_(out), err_(err), keys_(keys) {}

  void Load(const LoadInfo& info) override {
    Line({{"step", "load"},
          {"result", info.result.start},
          {"registered", info.result.registered},
          {"module_id", info.module_id}});
  }

  void Run(const Step& step, const standin::RunResult& run,
           const std::map<int32_t, std::string>&) override {
    const standin::Activity& a = run.activity;
    ordered_json undo = ordered_json::array();
    for (const standin::UndoRecord& u : a.undo) undo.push_back({u.type, keys_.KeyOf(u.marker)});
    ordered_json framing = ordered_json::array();
    for (const standin::FramingRecord& f : a.framing) {
      ordered_json modes = ordered_json::object();
      for (const auto& [marker, mode] : f.modes) modes[keys_.KeyOf(marker)] = mode;
      framing.push_back({{"command", f.command}, {"modes", modes}});
    }
    Line({{"step", step.word},
          {"entry", step.entry},
          {"enabled", run.enabled},
          {"result", run.result},
          {"refreshes", a.event_adds},
          {"messages", a.messages},
          {"undo_groups", a.undo_groups},
          {"undo", undo},
          {"framing", framing},
          {"rename_dialogs", a.rename_dialogs},
          {"dialog_open", SettingsOpen(a)},
          {"found", run.found},
          {"coding_errors", a.coding_errors}});
  }

  void Menu(const Step*, const std::vector<standin::MenuEntry>& entries) override {
    ordered_json list = ordered_json::array();
    for (const standin::MenuEntry& e : entries)
      list.push_back({{"id", e.id},
                      {"name", e.name},
                      {"enabled", e.enabled},
                      {"icon", e.has_icon},
                      {"position", e.position},
                      {"shown", e.shown}});
    Line({{"step", "menu"}, {"entries", list}});
  }

  void Tree(const Step*, const SceneDesc& scene) override {
    // The scene is written by its own writer, which takes any depth.
    out_ << R"({"step":"tree","result":true,"scene":)";
    WriteSceneText(out_, scene);
    out_ << "}" << std::endl;
  }

  void Result(const Step& step, bool result, const std::string&) override {
    Line({{"step", step.word}, {"result", result}});
  }

  void CodingError(const std::string& text) override {
    err_ << "gemlith-host: coding error: " << text << "\n";
  }

 private:
  void Line(const ordered_json& j) { out_ << DumpJson(j) << std::endl; }

  std::ostream& out_;
  std::ostream& err_;
  KeyMap& keys_;
};

class TextReporter : public Reporter {
 public:
  TextReporter(std::ostream& out, std::ostream& err, KeyMap& keys, Host& host)
      : out_(out), err_(err), keys_(keys), host_(host) {}

  void Load(const LoadInfo& info) override {
    out_ << "Loaded " << info.module_path;
    if (!info.module_id.empty()) out_ << " (module " << info.module_id << ")";
    out_ << ": registration answered " << info.result.start << ", " << info.result.registered
         << " menu entries\n";
    if (!info.result.ok && !info.result.error.empty()) out_ << "  " << info.result.error << "\n";
  }

  void Run(const Step& step, const standin::RunResult& run,
           const std::map<int32_t, std::string>& names) override {
    const standin::Activity& a = run.activity;
    Header(step);
    out_ << "  " << EntryLabel(step.entry, names) << ", keys held: "
         << QualifierText(host_.Qualifiers()) << "\n";
    if (!run.found) {
      out_ << "  no such menu entry: nothing happened\n";
      return;
    }
    if (!run.enabled && step.kind == StepKind::kRun) {
      out_ << "  the entry is greyed out: nothing happened\n";
      return;
    }
    out_ << "  result " << (run.result ? "true" : "false") << ", " << a.event_adds
         << (a.event_adds == 1 ? " refresh" : " refreshes") << ", " << a.undo_groups
         << (a.undo_groups == 1 ? " undo group" : " undo groups") << ", " << a.undo.size()
         << (a.undo.size() == 1 ? " undo entry" : " undo entries") << "\n";
    if (!a.undo.empty()) {
      out_ << "  undo:";
      for (const standin::UndoRecord& u : a.undo)
        out_ << " " << standin::UndoTypeName(u.type) << " " << keys_.KeyOf(u.marker) << ";";
      out_ << "\n";
    }
    for (const std::string& m : a.messages) out_ << "  message box: \"" << m << "\"\n";
    for (const standin::FramingRecord& f : a.framing) {
      out_ << "  framing command " << f.command << ", instance modes meanwhile:";
      if (f.modes.empty()) out_ << " (no selected instance)";
      for (const auto& [marker, mode] : f.modes) out_ << " " << keys_.KeyOf(marker) << "=" << mode;
      out_ << "\n";
    }
    if (!a.framing.empty()) {
      const standin::View& v = host_.GetView();
      if (v.framed)
        out_ << "  view: centre " << Vec(v.center) << ", radius " << Number(v.radius) << "\n";
    }
    if (a.rename_dialogs > 0) out_ << "  rename dialogs shown: " << a.rename_dialogs << "\n";
    if (SettingsOpen(a)) out_ << "  the settings dialog is open\n";
    if (step.entry == kEntrySettings) SettingsDialogText();
  }

  void Menu(const Step* step, const std::vector<standin::MenuEntry>& entries) override {
    if (step) Header(*step);
    out_ << MenuText(entries);
  }

  void Tree(const Step* step, const SceneDesc& scene) override {
    if (step) Header(*step);
    out_ << TreeText(scene);
  }

  void Result(const Step& step, bool result, const std::string& detail) override {
    if (step.kind == StepKind::kNote) {
      out_ << "\n== " << detail << "\n";
      return;
    }
    Header(step);
    out_ << "  " << (result ? "" : "failed: ") << detail << "\n";
  }

  void CodingError(const std::string& text) override {
    err_ << "gemlith-host: coding error: " << text << "\n";
  }

 private:
  void Header(const Step& step) { out_ << "> " << step.arg << "\n"; }

  void SettingsDialogText() {
    const standin::DialogView* d = host_.Dialog(kEntrySettings);
    if (!d || !d->open) return;
    for (const standin::LayoutItem& item : d->layout)
      if (item.kind == standin::LayoutItem::kTitle) out_ << "  dialog \"" << item.text << "\"\n";
    for (const standin::LayoutItem& item : d->layout)
      if (item.kind == standin::LayoutItem::kStaticText) out_ << "    " << item.text << "\n";
    for (const auto& [id, g] : d->gadgets) {
      if (g.children.empty() && !g.value_set) continue;
      for (const auto& [value, label] : g.children)
        out_ << "    " << (g.value_set && g.value == value ? "(*) " : "( ) ") << value << " "
             << label << "\n";
      out_ << "    (pick one with settings=N)\n";
      (void)id;
    }
  }

  std::ostream& out_;
  std::ostream& err_;
  KeyMap& keys_;
  Host& host_;
};

}  // namespace

std::string TreeText(const SceneDesc& scene) {
  TreePrinter p;
  CollectNames(scene.objects, p.names, p.is_tag);
  for (size_t i = 0; i < scene.selection.size(); ++i) p.rank[scene.selection[i]] = i + 1;
  const size_t top_level = static_cast<size_t>(std::count_if(
      scene.objects.begin(), scene.objects.end(), [](const ObjectDesc& o) { return o.depth == 0; }));
  p.out << "Scene: " << top_level << " top-level object" << (top_level == 1 ? "" : "s");
  if (scene.selection.empty()) {
    p.out << ", nothing selected\n";
  } else {
    p.out << ", selected in this order:";
    for (size_t i = 0; i < scene.selection.size(); ++i)
      p.out << " [" << i + 1 << "] " << scene.selection[i];
    p.out << "\n";
  }
  p.Objects(scene.objects);
  return p.out.str();
}

// The menu as the application shows it: ordered by position, names without their order prefix.
std::string MenuText(const std::vector<standin::MenuEntry>& entries) {
  std::vector<const standin::MenuEntry*> shown;
  for (const standin::MenuEntry& e : entries) shown.push_back(&e);
  std::stable_sort(shown.begin(), shown.end(),
                   [](const standin::MenuEntry* a, const standin::MenuEntry* b) {
                     return a->position < b->position;
                   });
  std::ostringstream out;
  out << "Menu (" << entries.size() << " entries):\n";
  for (const standin::MenuEntry* entry : shown) {
    const standin::MenuEntry& e = *entry;
    out << "  " << e.id << "  ";
    if (e.shown == "--") {
      out << "------------------------ (separator)\n";
      continue;
    }
    std::string name = e.shown;
    // Pad by characters, not bytes, so UTF-8 names line up too.
    size_t chars = 0;
    for (unsigned char c : name) chars += (c & 0xC0) != 0x80;
    while (chars++ < 26) name += ' ';
    out << name << (e.enabled ? "          " : "  (greyed)") << (e.has_icon ? "  icon" : "  no icon")
        << "\n";
  }
  return out.str();
}

std::unique_ptr<Reporter> MakeJsonReporter(std::ostream& out, std::ostream& err, KeyMap& keys,
                                           Host&) {
  return std::make_unique<JsonReporter>(out, err, keys);
}

std::unique_ptr<Reporter> MakeTextReporter(std::ostream& out, std::ostream& err, KeyMap& keys,
                                           Host& host) {
  return std::make_unique<TextReporter>(out, err, keys, host);
}

}  // namespace gemhost
