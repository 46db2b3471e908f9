// Create instances through gemlith-host: scene file in, keys and picks, scene file out.
#include "scenario_harness.h"

namespace {

using namespace scenario;

TEST(CreateScenario, InstanceInFrontTakesStoredModeAndUndoRedoRoundTrips) {
  Scenario s;
  s.Prefs(R"({"plugins": {"1050043": {"0": 2}}})")
      .Scene(R"({"objects": [{"key": "c", "name": "Cube", "type": "cube", "position": [1, 2, 3]}],
                 "selection": ["c"]})");
  const ScenarioRun r = s.RunRoundTrip({"run=create"});
  EXPECT_EQ(r.Step(0)["result"], true);
  EXPECT_EQ(r.Step(0)["refreshes"], 1);
  const std::vector<std::string> top = r.Keys();
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[1], "c");
  const json& made = *r.Object(top[0]);
  EXPECT_EQ(made["type"], "instance");
  EXPECT_EQ(made["name"], "Cube");
  EXPECT_EQ(made["link"], "c");
  EXPECT_EQ(made["mode"], 2);
  EXPECT_EQ(made["position"], json::parse("[1, 2, 3]"));
  EXPECT_EQ(r.Selection(), std::vector<std::string>{top[0]});
}

TEST(CreateScenario, CtrlShiftReplacesByInstancesOfTheLastSelectedAndKeepsChildren) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "a", "name": "A", "type": "null", "children": [{"key": "a1", "name": "a1", "type": "cube"}]},
      {"key": "b", "name": "B", "type": "cube", "position": [0, 5, 0]},
      {"key": "c", "name": "C", "type": "sphere"}],
    "selection": ["a", "b", "c"]})");
  const ScenarioRun r = s.Run({"keys=ctrl+shift", "run=create"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json& run = r.Step(1);
  EXPECT_EQ(run["result"], true);
  const std::vector<std::string> top = r.Keys();
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[2], "c");
  for (int i : {0, 1}) {
    EXPECT_EQ((*r.Object(top[i]))["link"], "c");
    EXPECT_EQ((*r.Object(top[i]))["name"], "C");
  }
  EXPECT_EQ((*r.Object(top[1]))["position"], json::parse("[0, 5, 0]"));
  EXPECT_EQ(r.Keys("c"), std::vector<std::string>{"a1"});
  const auto undo = UndoEntries(run);
  ASSERT_FALSE(undo.empty());
  EXPECT_EQ(undo.front(), std::make_pair(kUndoChange, std::string("a1")));
  EXPECT_EQ(undo.back(), std::make_pair(kUndoDeleteObj, std::string("b")));
}

TEST(CreateScenario, CtrlLeavesTheObjectThatHoldsTheReference) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "p", "name": "P", "type": "null", "children": [{"key": "r", "name": "R", "type": "cube"}]},
      {"key": "b", "name": "B", "type": "cube"}],
    "selection": ["p", "b", "r"]})");
  const ScenarioRun r = s.RunRoundTrip({"keys=ctrl+shift", "run=create"});
  EXPECT_EQ(r.Step(1)["result"], true);
  EXPECT_EQ(r.Keys("p"), std::vector<std::string>{"r"});
  EXPECT_EQ(r.Object("b"), nullptr);
}

}  // namespace
