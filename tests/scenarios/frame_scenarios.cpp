// Frame objects / Frame elements through gemlith-host: the host frames the multi-instance in mode 0.
#include <regex>

#include "scenario_harness.h"

namespace {

using namespace scenario;

TEST(FrameScenario, TheMultiInstanceIsFramedInModeZeroAndKeepsItsMode) {
  Scenario s;
  const ScenarioRun r =
      s.Run({"select=sphere-multi,cube", "run=frame-objects", "run=frame-elements"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json modes = json::parse(R"({"sphere-multi": 0})");
  for (const auto& [step, command, groups] : {std::tuple{1, 12151, 0}, std::tuple{2, 13038, 1}}) {
    const json& run = r.Step(step);
    EXPECT_TRUE(run["result"]);
    EXPECT_EQ(run["undo_groups"], groups);
    EXPECT_TRUE(run["undo"].empty());
    ASSERT_EQ(run["framing"].size(), 1u);
    EXPECT_EQ(run["framing"][0]["command"], command);
    EXPECT_EQ(run["framing"][0]["modes"], modes);
  }
  const json& multi = *r.Object("sphere-multi");
  EXPECT_EQ(multi["mode"], 2);
  EXPECT_EQ(multi["record"]["saved_mode"], 2);
  EXPECT_FALSE(r.Object("cube")->contains("record"));
}

// The view after framing the multi-instance equals the view of a sphere standing where it stands.
TEST(FrameScenario, TheViewShowsTheReferenceAtTheInstancesPlace) {
  Scenario s;
  s.Scene(R"({"objects": [
      {"key": "s", "type": "sphere"},
      {"key": "m", "type": "instance", "link": "s", "mode": 2, "position": [0, 0, -800]},
      {"key": "probe", "type": "sphere", "position": [0, 0, -800]}]})");
  const ScenarioRun r =
      s.Run({"select=m", "run=frame-objects", "select=probe", "run=frame-objects"}, false);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::vector<std::string> views;
  const std::regex view_line("view: (.*)");
  for (std::sregex_iterator it(r.out.begin(), r.out.end(), view_line), end; it != end; ++it)
    views.push_back((*it)[1]);
  ASSERT_EQ(views.size(), 2u) << r.out;
  EXPECT_EQ(views[0], views[1]);
  EXPECT_EQ(views[0].find("radius 0"), std::string::npos) << views[0];
}

}  // namespace
