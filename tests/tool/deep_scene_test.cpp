// A hierarchy deeper than any stack holds: a chain of cubes, each the only child of the one before,
// and two instances of its top object. gemlith-host reads it, prints it, writes it and runs every
// command on it with undo and redo, on a small stack; each scene it prints is read by a scan of the
// test's own and compared object by object (level, key, name, type, link, mode, record) and in its
// selection with the one expected. Any walk that recurses over the depth runs out of stack long
// before the chain ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "scenario_harness.h"
#include "scene_reader.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using gemhost::ObjectDesc;
using gemhost::SceneDesc;

constexpr size_t kDepth = GEMLITH_DEEP_CHAIN;  // levels below the top object of the chain

ObjectDesc Object(const std::string& key, int32_t type, size_t depth) {
  ObjectDesc o;
  o.key = key;
  o.type = type;
  o.depth = depth;
  return o;
}

ObjectDesc Instance(const std::string& key, const std::string& link) {
  ObjectDesc o = Object(key, gemhost::kTypeInstance, 0);
  o.link = link;
  return o;
}

// The chain, prefix0 (named "Top") down to prefix<kDepth - 1>, numbered from `first`; `from`
// leaves out the objects above that level.
void AppendChain(SceneDesc& s, const std::string& prefix, size_t first, size_t from = 0) {
  for (size_t i = from; i < kDepth; ++i) {
    s.objects.push_back(Object(prefix + std::to_string(first + i), gemhost::kTypeCube, i));
    if (i == 0) s.objects.back().name = "Top";
  }
}

// I and J link to the chain's top object o0; I is selected.
SceneDesc ChainScene() {
  SceneDesc s;
  s.objects = {Instance("I", "o0"), Instance("J", "o0")};
  AppendChain(s, "o", 0);
  s.selection = {"I"};
  return s;
}

// The file, written by hand rather than by the writer under test.
std::string ChainFile() {
  std::string text = R"({"objects": [{"key": "I", "type": "instance", "link": "o0"},)"
                     R"( {"key": "J", "type": "instance", "link": "o0"},)";
  text.reserve(kDepth * 48);
  for (size_t i = 0; i < kDepth; ++i) {
    text += "\n{\"key\": \"o" + std::to_string(i) + (i == 0 ? R"(", "name": "Top)" : "") +
            R"(", "type": "cube", "children": [)";
  }
  for (size_t i = 0; i < kDepth; ++i) text += "]}";
  return text + R"(], "selection": ["I"]})";
}

// One line per object, "<depth> <key> <name> <type> link <key> mode <m> record {...}" (link and
// mode for instances, record where there is one), then "selection <keys>": what a scene must say.
using Summary = std::vector<std::string>;

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

Summary Expect(const SceneDesc& s) {
  Summary out;
  out.reserve(s.objects.size() + 1);
  for (const ObjectDesc& o : s.objects) {
    const bool instance = o.type == gemhost::kTypeInstance;
    std::string line = std::to_string(o.depth) + " " + Quoted(o.key) + " " + Quoted(o.name) + " " +
                       (instance ? "\"instance\"" : "\"cube\"");
    if (instance)
      line += " link " + (o.link ? Quoted(*o.link) : "null") + " mode " + std::to_string(o.mode);
    if (o.record) {
      std::string fields;
      if (o.record->saved_mode) fields = "\"saved_mode\":" + std::to_string(*o.record->saved_mode);
      if (o.record->has_swap_partner)
        fields += (fields.empty() ? "" : ",") + std::string("\"swap_partner\":") +
                  (o.record->swap_partner ? Quoted(*o.record->swap_partner) : "null");
      line += " record {" + fields + "}";
    }
    out.push_back(line);
  }
  std::string selection = "selection";
  for (const std::string& k : s.selection) selection += " " + Quoted(k);
  out.push_back(selection);
  return out;
}

// The value after `"<field>":` in an object's own text: a string with its quotes, a record's
// braces, or a bare number; "" when the field is not there.
std::string Field(const std::string& head, const char* field) {
  const std::string tag = std::string("\"") + field + "\":";
  const size_t at = head.find(tag);
  if (at == std::string::npos) return "";
  const size_t begin = at + tag.size();
  size_t end = begin;
  if (head[begin] == '"') {
    end = head.find('"', begin + 1) + 1;
  } else if (head[begin] == '{') {
    end = head.find('}', begin) + 1;
  } else {
    while (end < head.size() && head[end] != ',' && head[end] != '}') ++end;
  }
  return head.substr(begin, end - begin);
}

// The same read off a scene's JSON text by a scan of its own (neither the reader nor the writer
// under test): an object's depth is the number of "children" arrays open around it. Keys and names
// of this scene hold no quotes or brackets.
Summary Scan(const std::string& text) {
  Summary out;
  std::vector<bool> open;  // for each open '[': whether it is a children array
  size_t depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 8, "{\"key\":\"") == 0) {
      // An object's own fields: up to the next object, and there up to its children.
      const size_t next = text.find("{\"key\":", i + 1);
      std::string head = text.substr(i, next == std::string::npos ? std::string::npos : next - i);
      head = head.substr(0, head.find("\"children\":["));
      std::string line = std::to_string(depth) + " " + Field(head, "key") + " " +
                         Field(head, "name") + " " + Field(head, "type");
      if (Field(head, "type") == "\"instance\"")
        line += " link " + Field(head, "link") + " mode " + Field(head, "mode");
      if (!Field(head, "record").empty()) line += " record " + Field(head, "record");
      out.push_back(line);
    } else if (text.compare(i, 12, "\"children\":[") == 0) {
      open.push_back(true);
      ++depth;
      i += 11;
    } else if (text[i] == '[') {
      open.push_back(false);
    } else if (text[i] == ']' && !open.empty()) {
      if (open.back()) --depth;
      open.pop_back();
    }
  }
  std::string selection = "selection";
  const size_t at = text.rfind("\"selection\":[");
  if (at != std::string::npos) {
    for (size_t k = text.find('"', at + 13); k < text.find(']', at); k = text.find('"', k + 1)) {
      const size_t close = text.find('"', k + 1);
      selection += " " + text.substr(k, close - k + 1);
      k = close;
    }
  }
  out.push_back(selection);
  return out;
}

// gemlith-host runs with the stack Windows gives a program, 1 MiB (where this is not Windows: the
// stack limit while it lives is inherited by the programs started meanwhile). A walk that recurses
// over the chain's 100,000 levels needs more than that even at 16 bytes a level.
class SmallStack {
 public:
#ifndef _WIN32
  SmallStack() {
    getrlimit(RLIMIT_STACK, &saved_);
    rlimit small = saved_;
    small.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, 1 << 20);
    setrlimit(RLIMIT_STACK, &small);
  }
  ~SmallStack() { setrlimit(RLIMIT_STACK, &saved_); }

 private:
  rlimit saved_{};
#else
  // Windows fixes a program's stack when it is linked (1 MiB unless the program asks for more).
  SmallStack() {}
  ~SmallStack() {}
#endif
};

// Where two summaries part.
std::string FirstDifference(const Summary& got, const Summary& want) {
  size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  return "summaries differ at line " + std::to_string(i) + " of " + std::to_string(got.size()) +
         " / " + std::to_string(want.size()) + ":\n  got  " + (i < got.size() ? got[i] : "(end)") +
         "\n  want " + (i < want.size() ? want[i] : "(end)");
}

// Where two long texts part, with a little of each around it.
std::string FirstDifference(const std::string& got, const std::string& want) {
  size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  const size_t from = i < 80 ? 0 : i - 80;
  return "texts differ at byte " + std::to_string(i) + " of " + std::to_string(got.size()) +
         " / " + std::to_string(want.size()) + ":\n  got  ..." + got.substr(from, 200) +
         "\n  want ..." + want.substr(from, 200);
}

TEST(DeepScene, EveryCommandWithUndoAndRedoOnAChainOfAnyDepth) {
  scenario::Scenario s;
  s.Scene(ChainFile());

  // The scenes expected after each command, each made when it is compared (a scene of a million
  // objects takes a few hundred megabytes); new objects get fresh keys in document order, counted
  // over the whole run.
  using Expected = std::function<SceneDesc()>;
  size_t fresh = 1;
  auto fresh_key = [&fresh](size_t count) {
    const size_t first = fresh;
    fresh += count;
    return first;
  };
  auto selecting = [](std::vector<std::string> selection) {
    return [selection] {
      SceneDesc s = ChainScene();
      s.selection = selection;
      return s;
    };
  };
  const Expected start = ChainScene;
  const Expected select = selecting({"I", "J"});
  const Expected split_before = selecting({"I", "J"});
  const Expected rename = [] {
    SceneDesc s = ChainScene();
    s.objects[0].name = "Top";  // the reference's name
    return s;
  };
  // o0 and I trade places, each keeping its own children (with Ctrl: I takes every object below
  // o0 as a direct child, and o0 takes I's, none); o0 remembers I.
  auto swapped = [](bool flatten) {
    return [flatten] {
      SceneDesc s;
      s.objects = {Object("o0", gemhost::kTypeCube, 0)};
      s.objects[0].name = "Top";
      s.objects[0].record = gemhost::RecordDesc{std::nullopt, true, std::string("I")};
      if (!flatten) AppendChain(s, "o", 0, 1);
      s.objects.push_back(Instance("J", "o0"));
      s.objects.push_back(Instance("I", "o0"));
      for (size_t i = 1; flatten && i < kDepth; ++i)
        s.objects.push_back(Object("o" + std::to_string(i), gemhost::kTypeCube, 1));
      s.selection = {"o0"};
      return s;
    };
  };
  const Expected swap = swapped(false);
  const Expected flatten = swapped(true);
  const Expected make_editable = [copy = fresh_key(kDepth)] {  // I becomes a copy of the chain
    SceneDesc s;
    AppendChain(s, "new", copy);
    s.objects.push_back(Instance("J", "o0"));
    AppendChain(s, "o", 0);
    s.selection = {"new" + std::to_string(copy)};
    return s;
  };
  const Expected create = [made = fresh_key(1)] {
    SceneDesc s = ChainScene();
    const std::string key = "new" + std::to_string(made);
    s.objects.insert(s.objects.begin(), Instance(key, "o0"));
    s.selection = {key};
    return s;
  };
  const Expected split = [copy = fresh_key(kDepth)] {  // I links to a new copy in J's place
    SceneDesc s;
    s.objects = {Instance("I", "new" + std::to_string(copy))};
    s.objects[0].name = "Top";  // the new reference's name
    AppendChain(s, "new", copy);
    AppendChain(s, "o", 0);
    s.selection = {"I"};
    return s;
  };
  const Expected framed = [] {  // the frame commands keep the mode they set aside
    SceneDesc s = ChainScene();
    s.objects[0].record = gemhost::RecordDesc{0, false, std::nullopt};
    return s;
  };

  // One run: each command, then its undo and redo (each followed by the scene), then the undo
  // again, so that the next command starts from the first scene.
  struct Check {
    std::vector<std::string> steps;
    const Expected* after;
    const Expected* before;  // null: no undo step
  };
  const std::vector<Check> checks = {
      {{"run=select"}, &select, &start},
      {{"rename=Deep", "run=rename"}, &rename, &start},
      {{"run=swap"}, &swap, &start},
      {{"keys=ctrl", "run=swap"}, &flatten, &start},
      {{"keys=none", "run=make-editable"}, &make_editable, &start},
      {{"run=create"}, &create, &start},
      {{"select=I,J", "run=split"}, &split, &split_before},
      {{"select=I", "run=settings", "close-settings"}, &start, nullptr},
      {{"run=frame-objects"}, &framed, nullptr},
      {{"run=frame-elements"}, &framed, nullptr},
  };
  std::vector<std::string> args = {"--json", "--scene", "scene.json", "--prefs",
                                   s.PrefsPath().string(), "--out", "out.json", "tree"};
  std::vector<const Expected*> trees = {&start};
  for (const Check& c : checks) {
    args.insert(args.end(), c.steps.begin(), c.steps.end());
    args.push_back("tree");
    trees.push_back(c.after);
    if (!c.before) continue;
    args.insert(args.end(), {"undo", "tree", "redo", "tree", "undo"});
    trees.insert(trees.end(), {c.before, c.after});
  }
  const SmallStack small_stack;
  const scenario::ScenarioRun run = s.RunHost(args, false, "", false);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");

  // The report, line by line: every step succeeds, and every scene is the one expected. Select
  // records the selection bit of every object in document order, the way its walk visits them.
  std::string select_undo = "[[48,\"I\"],[48,\"J\"]";
  for (size_t i = 0; i < kDepth; ++i) select_undo += ",[48,\"o" + std::to_string(i) + "\"]";
  select_undo += ",[48,\"I\"],[48,\"J\"]]";
  std::ifstream report(s.StdoutPath(), std::ios::binary);
  size_t tree = 0;
  size_t runs = 0;
  Summary start_summary;  // the first scene comes back after every undo
  Summary other_summary;  // and the last other one, which the redo brings back
  const Expected* other_of = nullptr;
  const std::string tree_prefix = R"({"step":"tree","result":true,"scene":)";
  for (std::string line; std::getline(report, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // Windows line ends
    if (line.compare(0, tree_prefix.size(), tree_prefix) == 0) {
      ASSERT_LT(tree, trees.size());
      const std::string scene = line.substr(tree_prefix.size(), line.size() - tree_prefix.size() - 1);
      const Expected* expected = trees[tree];
      Summary& want = expected == &start ? start_summary : other_summary;
      if (expected == &start ? want.empty() : other_of != expected) {
        want = Expect((*expected)());
        if (expected != &start) other_of = expected;
      }
      const Summary got = Scan(scene);
      ASSERT_TRUE(got == want) << "scene " << tree << ": " << FirstDifference(got, want);
      ++tree;
      continue;
    }
    if (line.compare(0, 15, R"({"step":"load",)") == 0) continue;
    ASSERT_NE(line.find(R"("result":true)"), std::string::npos) << line.substr(0, 300);
    if (line.compare(0, 14, R"({"step":"run",)") != 0) continue;
    if (runs++ == 0) {
      const size_t at = line.find(R"("undo":)");
      ASSERT_NE(at, std::string::npos);
      EXPECT_EQ(line.compare(at + 7, select_undo.size(), select_undo), 0)
          << FirstDifference(line.substr(at + 7, select_undo.size()), select_undo);
    }
  }
  EXPECT_EQ(tree, trees.size());
  EXPECT_EQ(runs, 10u);

  // The output file, indented: it reads back as the last scene.
  EXPECT_TRUE(gemhost::ReadSceneFile((s.Dir() / "out.json").string()) == framed());

  // The tree as a person reads it: one line per object, the deep ones with their level.
  const scenario::ScenarioRun text = [&s] {
    const SmallStack small_stack;
    return s.RunHost({"--scene", "scene.json", "tree"}, false, "", false);
  }();
  ASSERT_EQ(text.exit_code, 0) << text.err;
  std::ifstream lines(s.StdoutPath(), std::ios::binary);
  size_t count = 0;
  std::string last;
  for (std::string line; std::getline(lines, line); ++count) last.swap(line);
  if (!last.empty() && last.back() == '\r') last.pop_back();
  EXPECT_EQ(count, 5 + kDepth);  // load, step, scene header, I, J and the chain
  EXPECT_NE(last.find("… level " + std::to_string(kDepth - 1) + " └─ (no name) <o" +
                      std::to_string(kDepth - 1) + "> cube"),
            std::string::npos)
      << last.substr(0, 300);
}

}  // namespace
