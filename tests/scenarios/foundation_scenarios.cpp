// Foundation scenarios: loading, the menu and its enabling rules, menu picks of greyed entries,
// the settings dialog and its stored option, and the keys objects carry through a run.
#include <map>
#include <set>

#include "scenario_harness.h"

namespace {

using namespace scenario;

// A cube "c", a null "n" with an instance child "i" of the cube, and an empty-link instance "e".
json BaseScene(const std::vector<std::string>& selection) {
  json s = json::parse(R"({
    "objects": [
      {"key": "c", "name": "Cube", "type": "cube"},
      {"key": "n", "name": "Group", "type": "null", "children": [
        {"key": "i", "name": "Inst", "type": "instance", "link": "c"}
      ]},
      {"key": "e", "name": "Empty", "type": "instance", "link": null}
    ]})");
  s["selection"] = selection;
  return s;
}

std::map<int32_t, bool> EnabledById(const json& menu_line) {
  std::map<int32_t, bool> enabled;
  for (const json& e : menu_line["entries"]) enabled[e["id"].get<int32_t>()] = e["enabled"];
  return enabled;
}

// The menu's states (entry id -> enabled) with `scene` loaded; none when the run failed.
std::map<int32_t, bool> MenuStates(const json& scene, const std::string& what = "") {
  Scenario s;
  const ScenarioRun r = s.Scene(scene).Run({"menu"});
  EXPECT_EQ(r.exit_code, 0) << what << "\n" << r.err;
  return r.exit_code == 0 ? EnabledById(r.Step(0)) : std::map<int32_t, bool>{};
}

TEST(LoadScenario, TheLoadLineReportsTheRegistration) {
  Scenario s;
  const ScenarioRun r = s.Run({"menu"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json& load = r.Load();
  EXPECT_EQ(load["step"], "load");
  EXPECT_EQ(load["result"], 1);
  EXPECT_EQ(load["registered"], 10);
  ASSERT_TRUE(load["module_id"].is_string());
  EXPECT_FALSE(load["module_id"].get<std::string>().empty());
}

TEST(MenuScenario, TenEntriesInRegistrationOrderWithNamesAndIcons) {
  Scenario s;
  const ScenarioRun r = s.Scene(BaseScene({})).Run({"menu"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json& menu = r.Step(0);
  ASSERT_EQ(menu["step"], "menu");
  ASSERT_EQ(menu["entries"].size(), 10u);
  std::set<std::string> names;
  for (size_t i = 0; i < 10; ++i) {
    const json& e = menu["entries"][i];
    EXPECT_EQ(e["id"], kMenuOrder[i]) << "entry " << i;
    const std::string name = e["name"];
    EXPECT_FALSE(name.empty()) << "entry " << i;
    names.insert(name);
    EXPECT_EQ(e["icon"], i < 9) << "entry " << i << ": only the separator has no icon";
    // As the application shows it: the eight commands in this order, the separator, Settings.
    EXPECT_EQ(e["position"], i < 8 ? i + 1 : (i == 8 ? 10 : 9)) << "entry " << i;
    const std::string shown = e["shown"];
    EXPECT_EQ(shown.find("#$"), std::string::npos) << shown;
    EXPECT_NE(name.find(shown), std::string::npos) << name;
  }
  EXPECT_EQ(names.size(), 10u) << "every entry has its own name";
  EXPECT_EQ(menu["entries"][9]["name"], "#$09--");
  EXPECT_EQ(menu["entries"][9]["shown"], "--");
}

TEST(MenuScenario, NothingSelectedGreysAllButSettingsAndTheSeparator) {
  const auto states = MenuStates(BaseScene({}));
  EXPECT_EQ(states.size(), 10u);
  for (const auto& [id, enabled] : states)
    EXPECT_EQ(enabled, id == ID_GEMLITH_SETTINGS || id == ID_GEMLITH_SEPARATOR) << "entry " << id;
}

TEST(MenuScenario, OneOrdinaryObjectEnablesTheSelectionEntries) {
  auto enabled = MenuStates(BaseScene({"c"}));
  for (int32_t id : {ID_GEMLITH_SELECT, ID_GEMLITH_CREATE, ID_GEMLITH_RENAME,
                     ID_GEMLITH_FRAMEOBJECTS, ID_GEMLITH_FRAMEELEMENTS, ID_GEMLITH_SETTINGS})
    EXPECT_TRUE(enabled[id]) << "entry " << id;
  EXPECT_FALSE(enabled[ID_GEMLITH_SPLIT]) << "split needs two selected objects";
  EXPECT_FALSE(enabled[ID_GEMLITH_SWAP]) << "an ordinary object without a record";
  EXPECT_FALSE(enabled[ID_GEMLITH_MAKEEDITABLE]) << "no instance selected";
}

TEST(MenuScenario, SelectedChildrenCountForSplitAndMakeEditable) {
  // The instance "i" is selected below its selected parent "n": the topmost-only list holds "n"
  // alone, the list with children holds both.
  auto enabled = MenuStates(BaseScene({"i", "n"}));
  EXPECT_TRUE(enabled[ID_GEMLITH_SPLIT]);
  EXPECT_TRUE(enabled[ID_GEMLITH_MAKEEDITABLE]);
  EXPECT_FALSE(enabled[ID_GEMLITH_SWAP]) << "the active object is the null selected last";
}

TEST(MenuScenario, SwapFollowsTheActiveObjectOnly) {
  struct Case {
    const char* what;
    json scene;
    bool enabled;
  };
  json with_record = BaseScene({"c"});
  with_record["objects"][0]["record"] = {{"swap_partner", "i"}};
  json empty_record = BaseScene({"c"});
  empty_record["objects"][0]["record"] = {{"swap_partner", nullptr}};
  json mode_only_record = BaseScene({"c"});
  mode_only_record["objects"][0]["record"] = {{"saved_mode", 2}};
  json tag_record = BaseScene({"c"});
  tag_record["objects"][0]["tags"] = json::array({{{"key", "t"}, {"name", "Tag"}}});
  tag_record["objects"][0]["record"] = {{"swap_partner", "t"}};
  const Case cases[] = {
      {"an instance with an empty link", BaseScene({"e"}), true},
      {"an instance selected last", BaseScene({"c", "i"}), true},
      {"an ordinary object selected last after an instance", BaseScene({"i", "c"}), false},
      {"a record naming an object", with_record, true},
      {"a record with an empty link", empty_record, false},
      {"a record without a partner", mode_only_record, false},
      {"a record naming a tag", tag_record, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MenuStates(c.scene, c.what)[ID_GEMLITH_SWAP], c.enabled) << c.what;
}

TEST(RunScenario, AGreyedEntryIsNotExecuted) {
  Scenario s;
  s.Scene(BaseScene({}));
  const ScenarioRun before = s.Run({});
  const ScenarioRun r = s.Run({"run=create", "run=split", "run=make-editable", "run=1050048"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (size_t i = 0; i < 4; ++i) {
    const json& run = r.Step(i);
    EXPECT_EQ(run["step"], "run");
    EXPECT_EQ(run["enabled"], false) << run;
    EXPECT_EQ(run["result"], false) << run;
    EXPECT_EQ(run["refreshes"], 0) << run;
    EXPECT_EQ(run["undo_groups"], 0) << run;
    EXPECT_TRUE(run["undo"].empty()) << run;
  }
  EXPECT_EQ(r.Step(3)["entry"], ID_GEMLITH_SWAP);
  EXPECT_EQ(r.scene, before.scene);
}

TEST(RunScenario, CallRunsTheCommandOfAGreyedEntry) {
  Scenario s;
  const ScenarioRun r = s.Scene(BaseScene({})).Run({"call=create"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json& call = r.Step(0);
  EXPECT_EQ(call["step"], "call");
  EXPECT_EQ(call["entry"], ID_GEMLITH_CREATE);
  EXPECT_EQ(call["enabled"], false);
  EXPECT_EQ(call["result"], true) << "Create with nothing selected succeeds";
  EXPECT_EQ(call["refreshes"], 1);
  EXPECT_EQ(call["undo_groups"], 1);
}

TEST(RunScenario, EntryWordsAndPluginIdsPickTheSameEntries) {
  const std::pair<const char*, int32_t> words[] = {
      {"select", ID_GEMLITH_SELECT},
      {"create", ID_GEMLITH_CREATE},
      {"split", ID_GEMLITH_SPLIT},
      {"rename", ID_GEMLITH_RENAME},
      {"frame-objects", ID_GEMLITH_FRAMEOBJECTS},
      {"frame-elements", ID_GEMLITH_FRAMEELEMENTS},
      {"swap", ID_GEMLITH_SWAP},
      {"make-editable", ID_GEMLITH_MAKEEDITABLE},
      {"settings", ID_GEMLITH_SETTINGS}};
  std::vector<std::string> steps;
  for (const auto& [word, id] : words) steps.push_back(std::string("run=") + word);
  Scenario s;
  const ScenarioRun r = s.Scene(BaseScene({})).Run(steps);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (size_t i = 0; i < std::size(words); ++i) EXPECT_EQ(r.Step(i)["entry"], words[i].second);
}

TEST(SettingsScenario, ThePickedModeIsStoredAndOutlivesTheHost) {
  Scenario s;
  s.Scene(BaseScene({"c"}));
  const ScenarioRun first = s.Run({"run=settings", "settings=2"});
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(first.Step(0)["dialog_open"], true);
  EXPECT_EQ(first.Step(1), json::parse(R"({"step": "settings", "result": true})"));
  EXPECT_EQ(json::parse(ReadText(s.PrefsPath())),
            json::parse(R"({"plugins": {"1050043": {"0": 2}}})"));

  // A new host: the stored mode is what Create gives its new instance.
  const ScenarioRun second = s.Run({"run=create"});
  ASSERT_EQ(second.exit_code, 0) << second.err;
  ASSERT_EQ(second.Selection().size(), 1u);
  const json* made = second.Object(second.Selection()[0]);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ((*made)["type"], "instance");
  EXPECT_EQ((*made)["mode"], 2);
}

TEST(SettingsScenario, PicksNeedTheOpenDialogAndClosingKeepsTheChoice) {
  Scenario s;
  s.Prefs(R"({"plugins": {"1050043": {"0": 1}}})");
  const ScenarioRun r = s.Scene(BaseScene({})).Run(
      {"settings=0", "run=settings", "settings=2", "close-settings", "settings=0"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.Step(0)["result"], false) << "no dialog open yet";
  EXPECT_EQ(r.Step(2)["result"], true);
  EXPECT_EQ(r.Step(3), json::parse(R"({"step": "close-settings", "result": true})"));
  EXPECT_EQ(r.Step(4)["result"], false) << "the dialog is closed";
  EXPECT_EQ(json::parse(ReadText(s.PrefsPath())),
            json::parse(R"({"plugins": {"1050043": {"0": 2}}})"));
}

TEST(KeysScenario, NewObjectsGetFreshKeysThatSurviveUndoAndRedo) {
  Scenario s;
  // "new1" is taken by the input, so the new instance must get another key.
  s.Scene(R"({"objects": [{"key": "a", "name": "A", "type": "cube"},
                          {"key": "new1", "name": "B", "type": "sphere"}],
              "selection": ["a"]})");
  const ScenarioRun r = s.Run({"run=create", "undo", "redo"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto undo = UndoEntries(r.Step(0));
  ASSERT_EQ(undo.size(), 2u);  // A deselected, then the new instance inserted
  ASSERT_EQ(undo[1].first, kUndoNewObj);
  const std::string made = undo[1].second;
  EXPECT_NE(made, "a");
  EXPECT_NE(made, "new1");
  EXPECT_EQ(r.Step(1), json::parse(R"({"step": "undo", "result": true})"));
  EXPECT_EQ(r.Step(2), json::parse(R"({"step": "redo", "result": true})"));
  EXPECT_EQ(r.Keys(), (std::vector<std::string>{made, "a", "new1"}));
  EXPECT_EQ((*r.Object(made))["link"], "a");
  EXPECT_EQ(r.Selection(), std::vector<std::string>{made});
}

TEST(KeysScenario, AReplacedObjectComesBackWithItsKey) {
  Scenario s;
  s.Scene(R"({"objects": [{"key": "a", "name": "A", "type": "cube", "position": [1, 2, 3],
                           "children": [{"key": "kid", "name": "Kid"}]},
                          {"key": "b", "name": "B", "type": "sphere"}],
              "selection": ["a", "b"]})");
  const ScenarioRun r = s.Run({"keys=ctrl", "run=create", "undo", "tree"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto undo = UndoEntries(r.Step(1));
  ASSERT_FALSE(undo.empty());
  EXPECT_EQ(undo.back(), std::make_pair(kUndoDeleteObj, std::string("a")));
  EXPECT_EQ(r.Keys(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(r.Keys("a"), std::vector<std::string>{"kid"});
  EXPECT_EQ(r.Selection(), (std::vector<std::string>{"a", "b"}));
  // The tree step reports the same scene as the output file.
  EXPECT_EQ(r.Step(3)["scene"], r.scene);
}

}  // namespace
