// Application services: input, rename answers, preferences, dialogs, descriptions and framing.
#include <cmath>
#include <cstdio>
#include <thread>
#include <fstream>
#include <memory>
#include <sstream>

#include "standin_test_util.h"

namespace standin_test {

using App = HostTest;

int32_t Qualifier(const GmHostApi* api, int32_t device, int32_t channel, bool* answered) {
  GmContainer* bc = api->container_alloc();
  *answered = api->get_input_state(device, channel, bc);
  GmValue v{};
  const int32_t q = api->container_get(bc, kInputQualifier, &v) ? v.i32 : -1;
  api->container_free(bc);
  return q;
}

TEST_F(App, InputStateAnswersTheKeyboardAndMouseChannels) {
  host.SetQualifiers(kQShift | kQAlt);
  bool answered = false;
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, kChannelInput, &answered), 5);
  EXPECT_TRUE(answered);
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, kChannelModifiers, &answered), 5);
  EXPECT_EQ(Qualifier(api, kDeviceMouse, kChannelMouseLeft, &answered), 5);
  EXPECT_EQ(Qualifier(api, kDeviceMouse, kChannelInput, &answered), -1);
  EXPECT_FALSE(answered);
  host.faults().input_state_fails = true;
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, kChannelInput, &answered), -1);  // untouched
  EXPECT_FALSE(answered);
}

TEST_F(App, RenameDialogTakesTheScriptedAnswersInOrder) {
  host.QueueRenameConfirm("New name");
  host.QueueRenameCancel();
  host.QueueRenameConfirm("");
  const char* out = nullptr;
  size_t len = 0;
  ASSERT_TRUE(api->rename_dialog("", 0, &out, &len));
  EXPECT_EQ(std::string(out, len), "New name");
  EXPECT_FALSE(api->rename_dialog("", 0, &out, &len));
  ASSERT_TRUE(api->rename_dialog("", 0, &out, &len));
  EXPECT_EQ(len, 0u);
  EXPECT_FALSE(api->rename_dialog("", 0, &out, &len));  // nothing queued: cancel
  EXPECT_EQ(host.activity().rename_dialogs, 4);
}

TEST_F(App, EventsMessagesAndThreadStops) {
  api->event_add(0);
  api->event_add(0);
  api->stop_all_threads();
  api->message_dialog("hello", 5);
  EXPECT_EQ(host.activity().event_adds, 2);
  EXPECT_EQ(host.activity().stop_all_threads, 1);
  EXPECT_EQ(host.activity().messages, (std::vector<std::string>{"hello"}));
  EXPECT_FALSE(api->call_command(99999, 0));
}

class Prefs : public ::testing::Test {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "standin_prefs_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".json";
    std::remove(path.c_str());
  }
  void TearDown() override { std::remove(path.c_str()); }
  std::string Read() const {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string path;
};

TEST_F(Prefs, StoredContainersSurviveTheHost) {
  {
    Host host(HostOptions{path, ""});
    const GmHostApi* api = host.Api();
    EXPECT_EQ(api->get_world_plugin_data(kPluginId), nullptr);  // no file: nothing stored
    GmContainer* bc = api->container_alloc();
    GmValue v{};
    v.type = GM_VALUE_LONG;
    v.i32 = 2;
    api->container_set(bc, 0, &v);
    ASSERT_TRUE(api->set_world_plugin_data(kPluginId, bc, 0));
    api->container_free(bc);
  }
  EXPECT_NE(Read().find("\"1000001\""), std::string::npos) << Read();
  Host host(HostOptions{path, ""});
  const GmHostApi* api = host.Api();
  GmContainer* stored = api->get_world_plugin_data(kPluginId);
  ASSERT_NE(stored, nullptr);
  GmValue v{};
  ASSERT_TRUE(api->container_get(stored, 0, &v));
  EXPECT_EQ(v.i32, 2);
  EXPECT_EQ(host.Prefs(kPluginId), (std::map<int32_t, int32_t>{{0, 2}}));
}

TEST_F(Prefs, AddMergesAndReplaceReplaces) {
  Host host(HostOptions{path, ""});
  host.SetPrefs(7, {{0, 1}, {1, 1}});
  const GmHostApi* api = host.Api();
  GmContainer* bc = api->container_alloc();
  GmValue v{};
  v.type = GM_VALUE_LONG;
  v.i32 = 9;
  api->container_set(bc, 1, &v);
  api->set_world_plugin_data(7, bc, 1);
  EXPECT_EQ(host.Prefs(7), (std::map<int32_t, int32_t>{{0, 1}, {1, 9}}));
  api->set_world_plugin_data(7, bc, 0);
  EXPECT_EQ(host.Prefs(7), (std::map<int32_t, int32_t>{{1, 9}}));
  api->container_free(bc);
  EXPECT_EQ(host.PrefsError(), "");
}

TEST_F(Prefs, MalformedFileMeansNothingStored) {
  {
    std::ofstream out(path);
    out << "{\"plugins\": [1, 2";
  }
  Host host(HostOptions{path, ""});
  EXPECT_FALSE(host.Prefs(kPluginId).has_value());
  EXPECT_NE(host.PrefsError(), "");
}

// A dialog whose callbacks build the settings layout and count what the host calls.
struct FakeDialog {
  const GmHostApi* api = nullptr;
  GmDialog* dlg = nullptr;
  int commands = 0;
  int32_t last_gadget = 0;
  int32_t read = -1;

  static GmBool Create(void* self) {
    auto* d = static_cast<FakeDialog*>(self);
    d->api->dialog_set_title(d->dlg, "Title", 5);
    d->api->dialog_group_begin(d->dlg, 0, 57, 2, 0, "", 0, 1, 0, 0);
    d->api->dialog_add_static_text(d->dlg, 1019, 15, 0, 0, "Label", 5, 0);
    d->api->dialog_add_combo_box(d->dlg, 1020, 57, 0, 0, 0, 0);
    d->api->dialog_group_end(d->dlg);
    return 1;
  }
  static GmBool Init(void* self) {
    auto* d = static_cast<FakeDialog*>(self);
    d->api->dialog_free_children(d->dlg, 1020);
    GmDescription* desc = d->api->description_alloc();
    if (desc && d->api->description_load(desc, kOinstance)) {
      const GmContainer* p = d->api->description_get_parameter(desc, kInstanceMode, 15, 0);
      GmContainer* cycle =
          p ? d->api->container_get_container_instance(const_cast<GmContainer*>(p), 14) : nullptr;
      if (cycle) d->api->dialog_add_children(d->dlg, 1020, cycle);
    }
    d->api->description_free(desc);
    d->api->dialog_set_int32(d->dlg, 1020, 1, INT32_MIN, INT32_MAX, 1, 0);
    d->api->dialog_layout_changed(d->dlg, 1020);
    return 1;
  }
  static GmBool Command(void* self, int32_t id, const GmContainer*) {
    auto* d = static_cast<FakeDialog*>(self);
    ++d->commands;
    d->last_gadget = id;
    d->api->dialog_get_int32(d->dlg, 1020, &d->read);
    return 1;
  }
};

TEST_F(App, DialogRecordsLayoutAndActsAsTheUser) {
  FakeDialog fake;
  fake.api = api;
  const GmDialogCallbacks cb{&fake, FakeDialog::Create, FakeDialog::Init, FakeDialog::Command};
  fake.dlg = api->dialog_alloc(&cb);
  ASSERT_NE(fake.dlg, nullptr);
  EXPECT_EQ(host.Dialog(kPluginId), nullptr);
  ASSERT_TRUE(api->dialog_open(fake.dlg, kDialogAsync, kPluginId, -1, -1, 400, 0, 0));

  const DialogView* v = host.Dialog(kPluginId);
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->open);
  EXPECT_EQ(v->default_w, 400);
  ASSERT_EQ(v->layout.size(), 5u);
  EXPECT_EQ(v->layout[0].kind, LayoutItem::kTitle);
  EXPECT_EQ(v->layout[0].text, "Title");
  EXPECT_EQ(v->layout[1].args, (std::vector<int32_t>{57, 2, 0, 1, 0, 0}));
  EXPECT_EQ(v->layout[3].kind, LayoutItem::kComboBox);
  const GadgetState& combo = v->gadgets.at(1020);
  EXPECT_EQ(combo.children, (std::vector<std::pair<int32_t, std::string>>{
                                {0, "Instance"}, {1, "Render instance"}, {2, "Multi-instance"}}));
  EXPECT_EQ(combo.value, 1);
  EXPECT_EQ(combo.min, INT32_MIN);
  EXPECT_EQ(combo.layout_changed, 1);

  // Opening it again only fills the values again.
  api->dialog_open(fake.dlg, kDialogAsync, kPluginId, -1, -1, 400, 0, 0);
  EXPECT_EQ(v->create_layout_calls, 1);
  EXPECT_EQ(v->init_values_calls, 2);
  EXPECT_EQ(v->gadgets.at(1020).children.size(), 3u);

  ASSERT_TRUE(host.DialogPick(kPluginId, 2));
  EXPECT_EQ(fake.commands, 1);
  EXPECT_EQ(fake.last_gadget, 1020);
  EXPECT_EQ(fake.read, 2);

  host.faults().dialog_get_int32_fails = true;
  fake.read = -1;
  host.DialogPick(kPluginId, 0);
  EXPECT_EQ(fake.read, -1);

  EXPECT_TRUE(host.DialogClose(kPluginId));
  EXPECT_FALSE(host.Dialog(kPluginId)->open);
  EXPECT_FALSE(host.DialogPick(kPluginId, 1));

  api->dialog_restore_layout(fake.dlg, kPluginId, 0, nullptr);
  EXPECT_TRUE(host.Dialog(kPluginId)->open);
  EXPECT_EQ(host.Dialog(kPluginId)->restore_calls, 1);
  api->dialog_free(fake.dlg);
  EXPECT_FALSE(host.Dialog(kPluginId)->open);
}

TEST_F(App, DescriptionFaults) {
  GmDescription* desc = api->description_alloc();
  ASSERT_TRUE(api->description_load(desc, kOinstanceDerived));
  EXPECT_EQ(api->description_get_parameter(desc, kInstanceMode, 19, 0), nullptr);  // wrong type
  EXPECT_EQ(api->description_get_parameter(desc, 4711, 15, 0), nullptr);
  host.faults().description_no_cycle = true;
  ASSERT_TRUE(api->description_load(desc, kOinstance));
  const GmContainer* p = api->description_get_parameter(desc, kInstanceMode, 15, 0);
  ASSERT_NE(p, nullptr);
  GmValue v{};
  EXPECT_FALSE(api->container_get(p, 14, &v));
  host.faults().description_load_fails = true;
  EXPECT_FALSE(api->description_load(desc, kOinstance));
  api->description_free(desc);
  host.faults().FailNext(Alloc::Description);
  EXPECT_EQ(api->description_alloc(), nullptr);
  host.faults().dialog_handle_missing = true;
  EXPECT_EQ(api->dialog_alloc(nullptr), nullptr);
}

TEST_F(App, FramingMeasuresTheSelectionInWorldSpace) {
  // A cube at x=1000 under a parent moved by y=500, an instance in mode 0 of the cube at the
  // origin, and a sphere that is not selected.
  GmNode* parent = host.AddObject(kOnull, "parent");
  host.SetMatrix(parent, TranslationMatrix(0, 500, 0));
  GmNode* cube = host.AddObject(kOcube, "cube", parent);
  host.SetMatrix(cube, TranslationMatrix(1000, 0, 0));
  GmNode* inst = Instance("inst", cube);
  GmNode* multi = Instance("multi", cube);
  host.SetMode(multi, 2);
  host.SetMatrix(multi, TranslationMatrix(0, 0, -300));
  host.AddObject(kOsphere, "sphere");
  host.Select({cube, inst, multi});

  ASSERT_TRUE(api->call_command(kFrameObjectsCommand, 0));
  const View& view = host.GetView();
  ASSERT_TRUE(view.framed);
  // x: -100 .. 1100, y: -100 .. 600, z: -300 .. 100.
  EXPECT_DOUBLE_EQ(view.center[0], 500);
  EXPECT_DOUBLE_EQ(view.center[1], 250);
  EXPECT_DOUBLE_EQ(view.center[2], -100);
  EXPECT_DOUBLE_EQ(view.radius, std::sqrt(1200.0 * 1200 + 700.0 * 700 + 400.0 * 400) / 2);
  ASSERT_EQ(host.activity().framing.size(), 1u);
  EXPECT_EQ(host.activity().framing[0].command, kFrameObjectsCommand);
  EXPECT_EQ(host.activity().framing[0].modes,
            (std::map<Marker, int32_t>{{Host::MarkerOf(inst), 0}, {Host::MarkerOf(multi), 2}}));

  // The instance alone in mode 2 is a point at its origin; in mode 0 the cube's box.
  host.Select({multi});
  api->call_command(kFrameElementsCommand, 0);
  EXPECT_DOUBLE_EQ(host.GetView().radius, 0);
  host.SetMode(multi, 0);
  api->call_command(kFrameElementsCommand, 0);
  EXPECT_DOUBLE_EQ(host.GetView().radius, std::sqrt(3.0) * 100);
  EXPECT_DOUBLE_EQ(host.GetView().center[2], -300);
}

TEST_F(App, FramingSurvivesACycleOfInstances) {
  GmNode* a = host.AddObject(kOinstance, "a");
  GmNode* b = Instance("b", a);
  host.SetLink(a, b);
  host.Select({a});
  ASSERT_TRUE(api->call_command(kFrameObjectsCommand, 0));
  EXPECT_DOUBLE_EQ(host.GetView().radius, 0);
}

TEST_F(App, CallCommandDoesNothingOffTheMainThread) {
  host.AddObject(kOcube, "cube");
  GmBool result = 1;
  std::thread worker([&] { result = api->call_command(kFrameObjectsCommand, 0); });
  worker.join();
  EXPECT_FALSE(result);
  EXPECT_TRUE(host.activity().framing.empty());
}

}  // namespace standin_test

TEST(HostLifetime, HostsMayEndInAnyOrder) {
  // The newest host alive is the current one, whichever ended before it.
  auto a = std::make_unique<standin::Host>(standin::HostOptions{});
  auto b = std::make_unique<standin::Host>(standin::HostOptions{});
  auto c = std::make_unique<standin::Host>(standin::HostOptions{});
  b.reset();
  EXPECT_EQ(standin::Host::Current(), c.get());
  c.reset();
  EXPECT_EQ(standin::Host::Current(), a.get());
  b = std::make_unique<standin::Host>(standin::HostOptions{});
  a.reset();
  EXPECT_EQ(standin::Host::Current(), b.get());
  b.reset();
  EXPECT_EQ(standin::Host::Current(), nullptr);
}
