// Split through gemlith-host on the demo scene, with the rename dialog under Ctrl.
#include "scenario_harness.h"

namespace {

using namespace scenario;

TEST(SplitScenario, CtrlNamesTheNewReferenceAndItsInstances) {
  Scenario s;
  const json baseline = s.Run({"select=cube-a,cube-c"}).scene;
  const ScenarioRun r =
      s.Run({"select=cube-a,cube-c", "keys=ctrl", "rename=Split", "run=split"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json& run = r.Step(3);
  EXPECT_TRUE(run["result"]);
  EXPECT_EQ(run["rename_dialogs"], 1);
  EXPECT_EQ(UndoEntries(run), (std::vector<std::pair<int, std::string>>{
                                  {kUndoChange, "cube-c"}, {kUndoNewObj, "new1"},
                                  {kUndoChangeSmall, "cube-a"}, {kUndoDeleteObj, "cube-c"}}));
  EXPECT_EQ(r.Keys("group"), (std::vector<std::string>{"new1", "crate"}));
  EXPECT_EQ((*r.Object("new1"))["name"], "Split");
  EXPECT_EQ((*r.Object("cube-a"))["name"], "Split");
  EXPECT_EQ((*r.Object("cube-a"))["link"], "new1");
  EXPECT_EQ((*r.Object("cube-b"))["link"], "cube");  // not selected: unchanged

  const ScenarioRun undone =
      s.Run({"select=cube-a,cube-c", "keys=ctrl", "rename=Split", "run=split", "undo"});
  EXPECT_EQ(undone.scene, baseline);
}

TEST(SplitScenario, CancellingTheDialogChangesNothing) {
  Scenario s;
  const ScenarioRun r = s.Run({"select=cube-a,cube-c", "keys=ctrl", "rename-cancel", "run=split"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(r.Step(3)["result"]);
  EXPECT_TRUE(r.Step(3)["undo"].empty());
  EXPECT_NE(r.Object("cube-c"), nullptr);
}

}  // namespace
