// Rename through gemlith-host.
#include "scenario_harness.h"

namespace {

using namespace scenario;

std::string NameOf(const ScenarioRun& r, const std::string& key) {
  const json* o = r.Object(key);
  return o ? (*o)["name"].get<std::string>() : "<missing>";
}

TEST(RenameScenario, ShiftNumbersTheInstancesInDocumentOrderAndUndoRestoresNames) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "c", "name": "Cube", "type": "cube"},
      {"key": "n", "name": "N", "type": "null", "children": [
        {"key": "i1", "name": "first", "type": "instance", "link": "c"}]},
      {"key": "i2", "name": "second", "type": "instance", "link": "c"}],
    "selection": ["c"]})");
  const ScenarioRun r = s.RunRoundTrip({"keys=shift", "run=rename"});
  EXPECT_EQ(r.Step(1)["result"], true);
  EXPECT_EQ(NameOf(r, "i1"), "Cube.1");
  EXPECT_EQ(NameOf(r, "i2"), "Cube.2");
  EXPECT_EQ(UndoEntries(r.Step(1)),
            (std::vector<std::pair<int, std::string>>{{kUndoChangeSmall, "i1"},
                                                      {kUndoChangeSmall, "i2"}}));
}

TEST(RenameScenario, CtrlOnACycleShowsTheChainMessageAndRenamesNothing) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "x", "name": "X", "type": "instance", "link": "y"},
      {"key": "y", "name": "Y", "type": "instance", "link": "x"}],
    "selection": ["x"]})");
  const ScenarioRun r = s.Run({"keys=ctrl", "run=rename"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.Step(1)["result"], true);
  ASSERT_EQ(r.Step(1)["messages"].size(), 1u);
  EXPECT_FALSE(r.Step(1)["messages"][0].get<std::string>().empty());
  EXPECT_EQ(NameOf(r, "x"), "X");
}

}  // namespace
