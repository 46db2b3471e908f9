// Select through gemlith-host.
#include <algorithm>

#include "scenario_harness.h"

namespace {

using namespace scenario;

TEST(SelectScenario, ShiftSelectsTheInstancesAndTheReferenceDespiteAnEmptyLinkFirst) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "e", "name": "Empty", "type": "instance", "link": null},
      {"key": "r", "name": "R", "type": "cube"},
      {"key": "i1", "name": "I1", "type": "instance", "link": "r"},
      {"key": "n", "name": "N", "type": "null", "children": [
        {"key": "i2", "name": "I2", "type": "instance", "link": "r"}]}],
    "selection": ["e", "r"]})");
  const ScenarioRun r = s.Run({"keys=shift", "run=select"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.Step(1)["result"], true);
  std::vector<std::string> selected = r.Selection();
  std::sort(selected.begin(), selected.end());
  EXPECT_EQ(selected, (std::vector<std::string>{"i1", "i2", "r"}));

  const ScenarioRun undone = s.Run({"keys=shift", "run=select", "undo"});
  EXPECT_EQ(undone.Selection(), (std::vector<std::string>{"e", "r"}));
}

TEST(SelectScenario, CtrlFollowsTheChainToTheReference) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "r", "name": "R", "type": "cube"},
      {"key": "a", "name": "A", "type": "instance", "link": "r"},
      {"key": "b", "name": "B", "type": "instance", "link": "a"}],
    "selection": ["r"]})");
  std::vector<std::string> plain = s.Run({"run=select"}).Selection();
  EXPECT_EQ(plain, std::vector<std::string>{"a"});
  std::vector<std::string> chained = s.Run({"keys=ctrl", "run=select"}).Selection();
  std::sort(chained.begin(), chained.end());
  EXPECT_EQ(chained, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
