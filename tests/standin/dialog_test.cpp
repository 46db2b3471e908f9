// Dialogs without windows: the layout the module's callbacks build, the values, acting as the user.
#include "standin_fixture.h"

namespace standin_test {

using Dialog = HostTest;

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

TEST_F(Dialog, DialogRecordsLayoutAndActsAsTheUser) {
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

}  // namespace standin_test
