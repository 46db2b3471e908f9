#include "steps.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "host_scene.h"
#include "input_error.h"
#include "key_map.h"
#include "report.h"

namespace gemhost {

using standin::Host;

namespace {

struct EntryWord {
  const char* word;
  int32_t id;
};
constexpr EntryWord kEntries[] = {
    {"select", 1050045},        {"create", 1050047},         {"split", 1050046},
    {"rename", 1050049},        {"frame-objects", 1050104},  {"frame-elements", 1050103},
    {"swap", 1050048},          {"make-editable", 1050105},  {"settings", kEntrySettings},
};

constexpr int32_t kComboGadget = 1020;

bool ParseInt32(const std::string& s, int32_t& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < std::numeric_limits<int32_t>::min() ||
      v > std::numeric_limits<int32_t>::max())
    return false;
  out = static_cast<int32_t>(v);
  return true;
}

std::vector<std::string> SplitList(const std::string& s, char sep) {
  std::vector<std::string> parts;
  if (s.empty()) return parts;
  size_t start = 0;
  for (;;) {
    const size_t end = s.find(sep, start);
    parts.push_back(s.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

int32_t EntryIdOf(const std::string& word) {
  for (const EntryWord& e : kEntries)
    if (word == e.word) return e.id;
  return 0;
}

std::string EntryWordOf(int32_t id) {
  for (const EntryWord& e : kEntries)
    if (id == e.id) return e.word;
  return "";
}

std::string QualifierText(int32_t q) {
  std::string s;
  auto add = [&s](const char* name) { s += (s.empty() ? "" : "+") + std::string(name); };
  if (q & standin::kQCtrl) add("Ctrl");
  if (q & standin::kQShift) add("Shift");
  if (q & standin::kQAlt) add("Alt");
  return s.empty() ? "none" : s;
}

Step ParseStep(const std::string& arg, size_t position) {
  auto fail = [&](const std::string& what) -> Step {
    throw InputError("step " + std::to_string(position) + " \"" + arg + "\": " + what);
  };
  Step step;
  step.arg = arg;
  const size_t eq = arg.find('=');
  step.word = arg.substr(0, eq);
  const bool has_value = eq != std::string::npos;
  const std::string value = has_value ? arg.substr(eq + 1) : std::string();

  auto no_value = [&](StepKind kind) {
    if (has_value) fail("takes no value");
    step.kind = kind;
  };
  auto needs_value = [&](StepKind kind) {
    if (!has_value) fail("needs a value: " + step.word + "=...");
    step.kind = kind;
  };

  if (step.word == "select") {
    needs_value(StepKind::kSelect);
    step.keys = SplitList(value, ',');
    for (const std::string& k : step.keys)
      if (k.empty()) fail("an empty key in the list");
  } else if (step.word == "keys") {
    needs_value(StepKind::kKeys);
    if (value != "none" && !value.empty()) {
      for (const std::string& k : SplitList(value, '+')) {
        if (k == "ctrl") step.qualifiers |= standin::kQCtrl;
        else if (k == "shift") step.qualifiers |= standin::kQShift;
        else if (k == "alt") step.qualifiers |= standin::kQAlt;
        else fail("unknown key \"" + k + "\" (ctrl, shift, alt, joined by +, or none)");
      }
    }
  } else if (step.word == "run" || step.word == "call") {
    needs_value(step.word == "run" ? StepKind::kRun : StepKind::kCall);
    step.entry = EntryIdOf(value);
    if (step.entry == 0 && !ParseInt32(value, step.entry))
      fail("unknown menu entry (a plugin id, or select, create, split, rename, frame-objects, "
           "frame-elements, swap, make-editable, settings)");
  } else if (step.word == "rename") {
    needs_value(StepKind::kRename);
    step.text = value;
  } else if (step.word == "rename-cancel") {
    no_value(StepKind::kRenameCancel);
  } else if (step.word == "settings") {
    needs_value(StepKind::kSettings);
    if (!ParseInt32(value, step.value)) fail("the value must be an integer");
  } else if (step.word == "close-settings") {
    no_value(StepKind::kCloseSettings);
  } else if (step.word == "undo") {
    no_value(StepKind::kUndo);
  } else if (step.word == "redo") {
    no_value(StepKind::kRedo);
  } else if (step.word == "menu") {
    no_value(StepKind::kMenu);
  } else if (step.word == "tree") {
    no_value(StepKind::kTree);
  } else if (step.word == "note") {
    needs_value(StepKind::kNote);
    step.text = value;
  } else {
    fail("unknown step (select=, keys=, run=, call=, rename=, rename-cancel, settings=, "
         "close-settings, undo, redo, menu, tree, note=)");
  }
  return step;
}

std::vector<Step> ParseSteps(const std::vector<std::string>& args) {
  std::vector<Step> steps;
  for (size_t i = 0; i < args.size(); ++i) steps.push_back(ParseStep(args[i], i + 1));
  return steps;
}

Session::Session(Host& host, KeyMap& keys, Reporter& reporter)
    : host_(host), keys_(keys), reporter_(reporter) {
  for (const standin::MenuEntry& e : host_.Menu()) names_[e.id] = e.shown;
  coding_errors_seen_ = host_.CodingErrors().size();
}

bool Session::Select(const Step& step, std::string& detail) {
  std::vector<GmNode*> nodes;
  for (const std::string& key : step.keys) {
    const auto marker = keys_.MarkerOf(key);
    GmNode* node = marker ? host_.Find(*marker) : nullptr;
    if (!node || host_.Type(node) == standin::kTagType ||
        host_.DocumentOf(node) != host_.ActiveDocument()) {
      detail = "\"" + key + "\" names no object of the scene; the selection is unchanged";
      return false;
    }
    nodes.push_back(node);
  }
  host_.Select(nodes);
  detail = nodes.empty() ? "nothing selected" : "selected " + std::to_string(nodes.size());
  return true;
}

bool Session::Settings(const Step& step, std::string& detail) {
  const bool ok = host_.DialogPick(kEntrySettings, step.value, kComboGadget);
  std::string label;
  if (const standin::DialogView* d = host_.Dialog(kEntrySettings)) {
    auto g = d->gadgets.find(kComboGadget);
    if (g != d->gadgets.end())
      for (const auto& [v, text] : g->second.children)
        if (v == step.value) label = " \"" + text + "\"";
  }
  if (!ok) {
    detail = "the settings dialog is not open";
    return false;
  }
  detail = "picked " + std::to_string(step.value) + label;
  if (auto prefs = host_.Prefs(kEntrySettings)) {
    auto it = prefs->find(0);
    detail += "; stored instance mode: " + (it == prefs->end() ? std::string("none")
                                                                : std::to_string(it->second));
  }
  return true;
}

void Session::ReportNewCodingErrors() {
  const auto& errors = host_.CodingErrors();
  for (size_t i = coding_errors_seen_; i < errors.size(); ++i) reporter_.CodingError(errors[i]);
  coding_errors_seen_ = errors.size();
}

bool Session::Execute(const Step& step) {
  bool result = true;
  std::string detail;
  switch (step.kind) {
    case StepKind::kRun:
    case StepKind::kCall: {
      const standin::RunResult run =
          step.kind == StepKind::kRun ? host_.Run(step.entry) : host_.Call(step.entry);
      AssignKeys(host_, keys_);
      reporter_.Run(step, run, names_);
      ReportNewCodingErrors();
      return run.result;
    }
    case StepKind::kMenu:
      reporter_.Menu(&step, host_.Menu());
      ReportNewCodingErrors();
      return true;
    case StepKind::kTree:
      reporter_.Tree(&step, CaptureScene(host_, keys_));
      return true;
    case StepKind::kSelect:
      result = Select(step, detail);
      break;
    case StepKind::kKeys:
      host_.SetQualifiers(step.qualifiers);
      detail = "keys held: " + QualifierText(step.qualifiers);
      break;
    case StepKind::kRename:
      host_.QueueRenameConfirm(step.text);
      detail = "the next rename dialog will be answered with \"" + step.text + "\"";
      break;
    case StepKind::kRenameCancel:
      host_.QueueRenameCancel();
      detail = "the next rename dialog will be cancelled";
      break;
    case StepKind::kSettings:
      result = Settings(step, detail);
      break;
    case StepKind::kCloseSettings:
      result = host_.DialogClose(kEntrySettings);
      detail = result ? "settings dialog closed" : "the settings dialog is not open";
      break;
    case StepKind::kUndo:
      result = host_.Undo();
      detail = result ? "one step undone" : "nothing to undo";
      break;
    case StepKind::kRedo:
      result = host_.Redo();
      detail = result ? "one step redone" : "nothing to redo";
      break;
    case StepKind::kNote:
      detail = step.text;
      break;
  }
  AssignKeys(host_, keys_);
  reporter_.Result(step, result, detail);
  ReportNewCodingErrors();
  return result;
}

}  // namespace gemhost
