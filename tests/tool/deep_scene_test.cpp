// A hierarchy as deep as memory holds: a chain of cubes, each the only child of the one before,
// and two instances of its top object. gemlith-host reads it, prints it, writes it and runs every
// command on it with undo and redo, and each scene is compared whole with the one expected. Any
// walk that recurses over the depth runs out of stack long before the chain ends.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "scenario_harness.h"
#include "scene_io.h"

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

  // The scenes expected after each command; new objects get fresh keys in document order, counted
  // over the whole run.
  const SceneDesc start = ChainScene();
  size_t fresh = 1;
  auto fresh_key = [&fresh](size_t count) {
    const std::string key = "new" + std::to_string(fresh);
    fresh += count;
    return key;
  };
  SceneDesc select = start;
  select.selection = {"I", "J"};
  SceneDesc rename = start;
  rename.objects[0].name = "Top";  // the reference's name
  SceneDesc swap;  // o0 trades places with I; a copy of o0 takes I's place and o0's children
  const std::string swap_copy = fresh_key(1);
  swap.objects = {Object(swap_copy, gemhost::kTypeCube, 0)};
  swap.objects[0].name = "Top";
  swap.objects[0].record = gemhost::RecordDesc{std::nullopt, true, std::string("I")};
  AppendChain(swap, "o", 0, 1);
  swap.objects.push_back(Instance("J", swap_copy));
  swap.objects.push_back(Instance("I", swap_copy));
  swap.selection = {swap_copy};
  SceneDesc flatten = swap;  // with Ctrl, I takes every object below o0 as a direct child
  const std::string flatten_copy = fresh_key(1);
  flatten.objects.resize(1);
  flatten.objects[0].key = flatten_copy;
  flatten.objects.push_back(Instance("J", flatten_copy));
  flatten.objects.push_back(Instance("I", flatten_copy));
  for (size_t i = 1; i < kDepth; ++i)
    flatten.objects.push_back(Object("o" + std::to_string(i), gemhost::kTypeCube, 1));
  flatten.selection = {flatten_copy};
  SceneDesc make_editable;  // I becomes a copy of the whole chain
  const std::string editable_copy = fresh_key(kDepth);
  AppendChain(make_editable, "new", fresh - kDepth);
  make_editable.objects.push_back(Instance("J", "o0"));
  AppendChain(make_editable, "o", 0);
  make_editable.selection = {editable_copy};
  SceneDesc create;
  const std::string instance = fresh_key(1);
  create.objects = {Instance(instance, "o0")};
  for (const ObjectDesc& o : start.objects) create.objects.push_back(o);
  create.selection = {instance};
  SceneDesc split;  // I links to a new copy of the chain, which takes J's place
  const std::string split_copy = fresh_key(kDepth);
  split.objects = {Instance("I", split_copy)};
  split.objects[0].name = "Top";  // the new reference's name
  AppendChain(split, "new", fresh - kDepth);
  AppendChain(split, "o", 0);
  split.selection = {"I"};
  SceneDesc split_before = start;
  split_before.selection = {"I", "J"};
  SceneDesc framed = start;  // the frame commands keep the mode they set aside
  framed.objects[0].record = gemhost::RecordDesc{0, false, std::nullopt};

  // One run: each command, then its undo and redo (each followed by the scene), then the undo
  // again, so that the next command starts from the first scene.
  struct Check {
    std::vector<std::string> steps;
    const SceneDesc* after;
    const SceneDesc* before;  // null: no undo step
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
  std::vector<const SceneDesc*> trees = {&start};
  for (const Check& c : checks) {
    args.insert(args.end(), c.steps.begin(), c.steps.end());
    args.push_back("tree");
    trees.push_back(c.after);
    if (!c.before) continue;
    args.insert(args.end(), {"undo", "tree", "redo", "tree", "undo"});
    trees.insert(trees.end(), {c.before, c.after});
  }
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
  const std::string tree_prefix = R"({"step":"tree","result":true,"scene":)";
  for (std::string line; std::getline(report, line);) {
    if (line.compare(0, tree_prefix.size(), tree_prefix) == 0) {
      ASSERT_LT(tree, trees.size());
      const std::string scene = line.substr(tree_prefix.size(), line.size() - tree_prefix.size() - 1);
      const std::string want = gemhost::SceneText(*trees[tree]);
      ASSERT_TRUE(scene == want) << "scene " << tree << ": " << FirstDifference(scene, want);
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
  EXPECT_TRUE(gemhost::ReadSceneFile((s.Dir() / "out.json").string()) == framed);

  // The tree as a person reads it: one line per object, the deep ones with their level.
  const scenario::ScenarioRun text = s.RunHost({"--scene", "scene.json", "tree"}, false, "", false);
  ASSERT_EQ(text.exit_code, 0) << text.err;
  std::ifstream lines(s.StdoutPath(), std::ios::binary);
  size_t count = 0;
  std::string last;
  for (std::string line; std::getline(lines, line); ++count) last.swap(line);
  EXPECT_EQ(count, 5 + kDepth);  // load, step, scene header, I, J and the chain
  EXPECT_NE(last.find("… level " + std::to_string(kDepth - 1) + " └─ (no name) <o" +
                      std::to_string(kDepth - 1) + "> cube"),
            std::string::npos)
      << last.substr(0, 300);
}

}  // namespace
