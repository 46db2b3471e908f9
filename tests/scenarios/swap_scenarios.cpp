// Swap through gemlith-host: the demo scene's instance B and the cube trade places, and back.
#include "scenario_harness.h"

namespace {

using namespace scenario;

TEST(SwapScenario, InstanceAndCubeTradePlacesAndSwapBack) {
  Scenario s;
  const json baseline = s.Run({"select=cube-b"}).scene;  // for "undo gives back the scene"
  const ScenarioRun r = s.Run({"select=cube-b", "run=swap"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(r.Step(1)["result"]);
  EXPECT_EQ(UndoEntries(r.Step(1)),
            (std::vector<std::pair<int, std::string>>{{kUndoChange, "cube-b"}, {kUndoChange, "cube"},
                                                      {kUndoBits, "cube-b"}, {kUndoBits, "cube"}}));
  // The two objects themselves trade places: no copy, every key and link stays.
  EXPECT_EQ(r.Keys(), (std::vector<std::string>{"cube-b", "cube-a", "cube", "group", "chain",
                                                "sphere", "sphere-multi"}));
  EXPECT_EQ(r.Keys("cube"), (std::vector<std::string>{"cube-handle"}));
  EXPECT_EQ(r.Keys("cube-b"), (std::vector<std::string>{"cube-b-light"}));
  for (const char* inst : {"cube-a", "cube-b", "cube-c"}) EXPECT_EQ((*r.Object(inst))["link"], "cube");
  EXPECT_EQ((*r.Object("cube"))["record"]["swap_partner"], "cube-b");
  EXPECT_EQ((*r.Object("cube"))["position"], json::parse("[-300.0, 0.0, 0.0]"));
  EXPECT_EQ(r.Selection(), (std::vector<std::string>{"cube"}));

  const ScenarioRun back = s.Run({"select=cube-b", "run=swap", "run=swap"});
  ASSERT_EQ(back.exit_code, 0) << back.err;
  EXPECT_TRUE(back.Step(2)["result"]);
  EXPECT_EQ(back.Keys(), (std::vector<std::string>{"cube", "cube-a", "cube-b", "group", "chain",
                                                   "sphere", "sphere-multi"}));
  EXPECT_EQ((*back.Object("cube-b"))["position"], json::parse("[-300.0, 0.0, 0.0]"));
  EXPECT_EQ((*back.Object("cube-b"))["link"], "cube");
  EXPECT_TRUE((*back.Object("cube"))["record"]["swap_partner"].is_null());

  const ScenarioRun undone = s.Run({"select=cube-b", "keys=ctrl", "run=swap", "undo"});
  ASSERT_EQ(undone.exit_code, 0) << undone.err;
  EXPECT_TRUE(undone.Step(2)["result"]);
  EXPECT_EQ(undone.scene, baseline);
}

TEST(SwapScenario, AnEmptyLinkIsRefused) {
  Scenario s;
  const ScenarioRun r = s.Scene(R"({"objects": [{"key": "e", "type": "instance"}], "selection": ["e"]})")
                            .Run({"run=swap"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(r.Step(0)["enabled"]);
  EXPECT_FALSE(r.Step(0)["result"]);
  EXPECT_EQ(r.Step(0)["undo_groups"], 1);
  EXPECT_TRUE(r.Step(0)["undo"].empty());
  EXPECT_EQ(r.Step(0)["refreshes"], 0);
}

}  // namespace
