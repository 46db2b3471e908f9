// A command that replaces an object hands every link to it to the replacement — instance links,
// links in other objects' data at any depth, links in tags' data — as part of its one undo step;
// Undo gives every link back and Redo hands them over again. Each scene holds one holder of each
// kind, all naming the object the command replaces.
#include <map>
#include <set>

#include "scenario_harness.h"

namespace {

using namespace scenario;

// The holders every scene below adds: X (a link in its data), Y (in a tag's data), Z (in a
// sub-container of a sub-container), J (an instance link).
std::string Holders(const std::string& target) {
  const std::string link = R"({"link": ")" + target + R"("})";
  return R"({"key": "X", "data": {"5": )" + link + R"(, "6": {"int": 3}}},
            {"key": "Y", "tags": [{"key": "YT", "name": "Tag", "data": {"1": )" + link + R"(}}]},
            {"key": "Z", "data": {"9": {"container": {"1": {"container": {"2": )" + link + R"(}}}}}},
            {"key": "J", "type": "instance", "link": ")" + target + R"("})";
}

// Every link of a scene by where it is held ("X data 5", "Y tag YT data 1", "J link", ...).
void CollectLinks(const json& value, const std::string& where, std::map<std::string, json>& out) {
  for (const auto& item : value.items()) {
    if (item.value().contains("link")) out[where + " " + item.key()] = item.value()["link"];
    if (item.value().contains("container"))
      CollectLinks(item.value()["container"], where + " " + item.key(), out);
  }
}
void CollectLinks(const json& objects, std::map<std::string, json>& out) {
  for (const json& o : objects) {
    const std::string key = o["key"];
    if (o.contains("link")) out[key + " link"] = o["link"];
    if (o.contains("data")) CollectLinks(o["data"], key + " data", out);
    for (const json& t : o.value("tags", json::array()))
      if (t.contains("data")) CollectLinks(t["data"], key + " tag " + t["key"].get<std::string>() + " data", out);
    if (o.contains("children")) CollectLinks(o["children"], out);
  }
}
std::map<std::string, json> Links(const json& scene) {
  std::map<std::string, json> out;
  CollectLinks(scene["objects"], out);
  return out;
}

// Runs the steps, then Undo and Redo, with the whole scene before and after each. After the
// command every link that named `replaced` names `replacement`, every other link of a holder that
// is still there (but those the command itself sets, `relinked`) is unchanged; Undo brings back the scene as it was and Redo the command's result.
void ExpectLinksHandedOver(const std::string& scene, std::vector<std::string> steps,
                           const std::string& replaced, const std::string& replacement,
                           const std::set<std::string>& relinked = {}) {
  Scenario s;
  s.Scene(scene);
  steps.insert(steps.end() - 1, "tree");  // before the command
  steps.insert(steps.end(), {"tree", "undo", "tree", "redo", "tree"});
  const ScenarioRun r = s.Run(steps);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const size_t n = steps.size();
  const json& run = r.Step(n - 6);
  ASSERT_TRUE(run["result"]) << run;
  const json& before = r.Step(n - 7)["scene"];
  const json& after = r.Step(n - 5)["scene"];
  EXPECT_EQ(r.Step(n - 3)["scene"], before) << "Undo";
  EXPECT_EQ(r.Step(n - 1)["scene"], after) << "Redo";

  const std::map<std::string, json> now = Links(after);
  size_t handed_over = 0;
  for (const auto& [where, target] : Links(before)) {
    const auto it = now.find(where);
    if (it == now.end() || relinked.count(where)) continue;  // gone with the replaced object
    if (target == replaced) ++handed_over;
    EXPECT_EQ(it->second, target == replaced ? json(replacement) : target) << where;
  }
  EXPECT_EQ(handed_over, 4u);
  EXPECT_EQ(r.Step(n - 1)["result"], true);
}

TEST(ReplacedLinksScenario, MakeEditableHandsEveryLinkToTheCopy) {
  ExpectLinksHandedOver(R"({"objects": [{"key": "R", "type": "cube"},
                                        {"key": "I", "type": "instance", "link": "R"},
                                        )" + Holders("I") + R"(]})",
                        {"select=I", "run=make-editable"}, "I", "new1");
}

TEST(ReplacedLinksScenario, SplitHandsTheLastInstancesLinksToTheCopy) {
  // K and L show R; L, selected last, is replaced by a copy of R, which K then shows.
  ExpectLinksHandedOver(R"({"objects": [{"key": "R", "type": "cube"},
                                        {"key": "K", "type": "instance", "link": "R"},
                                        {"key": "L", "type": "instance", "link": "R"},
                                        )" + Holders("L") + R"(]})",
                        {"select=K,L", "run=split"}, "L", "new1", {"K link"});
}

TEST(ReplacedLinksScenario, CreateWithCtrlHandsEachObjectsLinksToItsInstance) {
  ExpectLinksHandedOver(R"({"objects": [{"key": "A", "type": "cube"},
                                        {"key": "C", "type": "sphere"},
                                        )" + Holders("A") + R"(]})",
                        {"select=A,C", "keys=ctrl", "run=create"}, "A", "new1");
}

}  // namespace
