// Make editable through gemlith-host on the demo scene.
#include "scenario_harness.h"

namespace {

using namespace scenario;

TEST(MakeEditableScenario, InstanceBecomesAnEditableCubeInItsPlace) {
  Scenario s;
  const ScenarioRun r = s.RunRoundTrip({"select=cube-a", "run=make-editable"});
  EXPECT_TRUE(r.Step(1)["result"]);
  ASSERT_EQ(r.Keys()[1], "new1");
  const json& copy = *r.Object("new1");
  EXPECT_EQ(copy["type"], "cube");
  EXPECT_EQ(copy["name"], "Cube");
  EXPECT_EQ(copy["position"], json::parse("[300.0, 0.0, 0.0]"));
  EXPECT_EQ(r.Keys("new1").size(), 1u);  // the clone of the cube's handle
  EXPECT_EQ(r.Object("cube-a"), nullptr);
  EXPECT_EQ((*r.Object("chain"))["link"], "new1");  // the incoming link follows
  EXPECT_EQ(r.Selection(), (std::vector<std::string>{"new1"}));
}

TEST(MakeEditableScenario, ShiftAndAltLeaveTheCopyWithoutChildren) {
  Scenario s;
  const ScenarioRun r = s.Run({"select=cube-b", "keys=shift+alt", "run=make-editable"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(r.Step(2)["result"]);
  EXPECT_TRUE(r.Keys("new1").empty());
  EXPECT_EQ(r.Object("cube-b-light"), nullptr);  // deleted with the instance
}

}  // namespace
