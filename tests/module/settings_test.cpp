// The stored instance mode, the settings dialog and the modifier-key test.
#include "module_fixture.h"
#include "resource.h"
#include "settings.h"

namespace gemlith_test {
namespace {

class SettingsTest : public ModuleTest {
 protected:
  RunResult OpenDialog() { return host().Call(ID_GEMLITH_SETTINGS); }
  const DialogView& View() {
    const DialogView* v = host().Dialog(ID_GEMLITH_SETTINGS);
    EXPECT_NE(v, nullptr);
    static const DialogView none;
    return v ? *v : none;
  }
  const GadgetState& Combo() { return View().gadgets.at(IDC_INSTANCE_MODE); }
};

TEST_F(SettingsTest, FreshHostStoresNothingAndReadsZero) {
  EXPECT_FALSE(host().Prefs(ID_GEMLITH).has_value());
  EXPECT_EQ(GetInstanceModeSetting(), 0);
  ASSERT_TRUE(OpenDialog().result);
  EXPECT_EQ(Combo().value, 0);
}

TEST_F(SettingsTest, OpensNonModalWithTheLayoutInOrder) {
  const RunResult r = OpenDialog();
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.activity.open_dialogs, std::vector<int32_t>{ID_GEMLITH_SETTINGS});
  const DialogView& v = View();
  EXPECT_EQ(v.type, 20);
  EXPECT_EQ(v.xpos, -1);
  EXPECT_EQ(v.ypos, -1);
  EXPECT_EQ(v.default_w, 400);
  EXPECT_EQ(v.default_h, 0);
  EXPECT_EQ(v.sub_id, 0);

  ASSERT_EQ(v.layout.size(), 7u);
  EXPECT_EQ(v.layout[0].kind, LayoutItem::kTitle);
  EXPECT_EQ(v.layout[0].text, g_resource.LoadString(IDS_SETTINGS_TITLE).GetStdString());
  EXPECT_EQ(v.layout[1].kind, LayoutItem::kGroupBegin);
  EXPECT_EQ(v.layout[1].id, 0);
  EXPECT_EQ(v.layout[1].args, (std::vector<int32_t>{57, 2, 0, 1, 0, 0}));
  EXPECT_EQ(v.layout[2].kind, LayoutItem::kGroupSpace);
  EXPECT_EQ(v.layout[2].args, (std::vector<int32_t>{4, 4}));
  EXPECT_EQ(v.layout[3].kind, LayoutItem::kGroupBorderSpace);
  EXPECT_EQ(v.layout[3].args, (std::vector<int32_t>{4, 4, 4, 4}));
  EXPECT_EQ(v.layout[4].kind, LayoutItem::kStaticText);
  EXPECT_EQ(v.layout[4].id, IDC_INSTANCE_MODE_LABEL);
  EXPECT_EQ(v.layout[4].text, g_resource.LoadString(IDC_INSTANCE_MODE_LABEL).GetStdString());
  EXPECT_EQ(v.layout[5].kind, LayoutItem::kComboBox);
  EXPECT_EQ(v.layout[5].id, IDC_INSTANCE_MODE);
  EXPECT_EQ(v.layout[6].kind, LayoutItem::kGroupEnd);
}

TEST_F(SettingsTest, ComboListsTheHostsModesInOrder) {
  ASSERT_TRUE(OpenDialog().result);
  const GadgetState& combo = Combo();
  ASSERT_EQ(combo.children.size(), 3u);
  EXPECT_EQ(combo.children[0].first, 0);
  EXPECT_EQ(combo.children[1].first, 1);
  EXPECT_EQ(combo.children[2].first, 2);
  EXPECT_FALSE(combo.children[2].second.empty());
  EXPECT_EQ(combo.min, LIMIT<Int32>::MIN);
  EXPECT_EQ(combo.max, LIMIT<Int32>::MAX);
  EXPECT_EQ(combo.step, 1);
  EXPECT_GE(combo.layout_changed, 1);
}

TEST_F(SettingsTest, PickingStoresAtOnceReplacingTheWholeContainer) {
  host().SetPrefs(ID_GEMLITH, {{0, 1}, {7, 99}});
  ASSERT_TRUE(OpenDialog().result);
  ASSERT_TRUE(host().DialogPick(ID_GEMLITH_SETTINGS, 2));
  const auto stored = host().Prefs(ID_GEMLITH);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, (std::map<int32_t, int32_t>{{0, 2}}));
  EXPECT_EQ(GetInstanceModeSetting(), 2);
  // Closing keeps the change; opening again shows it.
  ASSERT_TRUE(host().DialogClose(ID_GEMLITH_SETTINGS));
  EXPECT_EQ(GetInstanceModeSetting(), 2);
  ASSERT_TRUE(OpenDialog().result);
  EXPECT_EQ(Combo().value, 2);
}

TEST_F(SettingsTest, ValueNoEntryCarriesIsShownUnchanged) {
  host().SetPrefs(ID_GEMLITH, {{0, 17}});
  ASSERT_TRUE(OpenDialog().result);
  EXPECT_EQ(Combo().value, 17);
  EXPECT_EQ(*host().Prefs(ID_GEMLITH), (std::map<int32_t, int32_t>{{0, 17}}));
}

TEST_F(SettingsTest, WithoutDescriptionTheComboIsEmptyButShowsTheValue) {
  host().SetPrefs(ID_GEMLITH, {{0, 2}});
  host().faults().description_load_fails = true;
  ASSERT_TRUE(OpenDialog().result);
  EXPECT_TRUE(Combo().children.empty());
  EXPECT_EQ(Combo().value, 2);
  host().faults().description_load_fails = false;
  host().faults().description_no_cycle = true;
  ASSERT_TRUE(OpenDialog().result);
  EXPECT_TRUE(Combo().children.empty());
  EXPECT_EQ(*host().Prefs(ID_GEMLITH), (std::map<int32_t, int32_t>{{0, 2}}));
}

TEST_F(SettingsTest, FailedComboReadStoresTheLastValue) {
  ASSERT_TRUE(OpenDialog().result);
  ASSERT_TRUE(host().DialogPick(ID_GEMLITH_SETTINGS, 1));
  host().faults().dialog_get_int32_fails = true;
  host().DialogPick(ID_GEMLITH_SETTINGS, 2);
  EXPECT_EQ(*host().Prefs(ID_GEMLITH), (std::map<int32_t, int32_t>{{0, 1}}));
}

TEST_F(SettingsTest, RestoreLayoutReopensTheDialog) {
  EXPECT_TRUE(host().RestoreLayout(ID_GEMLITH_SETTINGS));
  const DialogView& v = View();
  EXPECT_TRUE(v.open);
  EXPECT_EQ(v.restore_calls, 1);
}

TEST(SettingsDialogHandle, MissingHandleMeansExecuteFails) {
  const std::unique_ptr<Host> host = NewModuleHost();
  host->faults().dialog_handle_missing = true;  // the dialogs made at registration get no handle
  ASSERT_TRUE(LoadModule(*host).ok);
  const RunResult r = host->Call(ID_GEMLITH_SETTINGS);
  EXPECT_FALSE(r.result);
  EXPECT_TRUE(r.activity.open_dialogs.empty());
  host->Unload();
}

// Where the module does not override, it gets the SDK framework's defaults; the settings dialog
// answers an action as the default Command does.
TEST_F(SettingsTest, InheritedDefaultsAreTheFrameworks) {
  CommandData plain;
  EXPECT_TRUE(plain.Execute(ModuleDoc(), nullptr));
  EXPECT_EQ(plain.GetState(ModuleDoc(), nullptr), CMD_ENABLED);
  EXPECT_TRUE(plain.RestoreLayout(nullptr));
  GeDialog dialog;
  EXPECT_TRUE(dialog.CreateLayout());
  EXPECT_TRUE(dialog.InitValues());
  EXPECT_FALSE(dialog.Command(IDC_INSTANCE_MODE, BaseContainer()));
  SettingsDialog settings;
  EXPECT_FALSE(settings.Command(IDC_INSTANCE_MODE, BaseContainer()));
}

TEST_F(SettingsTest, QualifierTestMatchesAnyGivenKey) {
  host().SetQualifiers(QSHIFT);
  EXPECT_TRUE(IsQualifierHeld(QSHIFT | QCTRL));
  EXPECT_FALSE(IsQualifierHeld(QCTRL));
  EXPECT_FALSE(IsQualifierHeld(0));
  host().SetQualifiers(QCTRL);
  EXPECT_TRUE(IsQualifierHeld(QSHIFT | QCTRL));
  host().SetQualifiers(QSHIFT | QCTRL | QALT);
  EXPECT_FALSE(IsQualifierHeld(0));
  EXPECT_TRUE(IsQualifierHeld(QALT));
  EXPECT_EQ(GetKeyboardQualifiers(), QSHIFT | QCTRL | QALT);
  // A host that does not answer: no key counts as held.
  host().faults().input_state_fails = true;
  EXPECT_FALSE(IsQualifierHeld(QSHIFT | QCTRL | QALT));
  EXPECT_EQ(GetKeyboardQualifiers(), 0);
  host().SetQualifiers(0);
}

}  // namespace
}  // namespace gemlith_test
