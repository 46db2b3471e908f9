// Scripted user input: the modifier keys through the input state, the rename dialog's answers.
#include "standin_fixture.h"

namespace standin_test {

using Input = HostTest;

int32_t Qualifier(const GmHostApi* api, int32_t device, int32_t channel, bool* answered) {
  GmContainer* bc = api->container_alloc();
  *answered = api->get_input_state(device, channel, bc);
  GmValue v{};
  const int32_t q = api->container_get(bc, kInputQualifier, &v) ? v.i32 : -1;
  api->container_free(bc);
  return q;
}

TEST_F(Input, InputStateAnswersOnlyTheDocumentedChannels) {
  host.SetQualifiers(kQShift | kQAlt);
  bool answered = false;
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, kChannelInput, &answered), 5);
  EXPECT_TRUE(answered);
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, 'A', &answered), 5);  // key codes: characters, KEY_
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, 0xF010, &answered), 5);
  EXPECT_EQ(Qualifier(api, kDeviceMouse, kChannelMouseLeft, &answered), 5);
  // A result element is no channel ('ipmo', 'ipqa'), nor is a code past the last key; the mouse
  // answers for its buttons only.
  for (int32_t channel : {0x69706D6F, kInputQualifier, 0xF1C0}) {
    EXPECT_EQ(Qualifier(api, kDeviceKeyboard, channel, &answered), -1);
    EXPECT_FALSE(answered);
  }
  EXPECT_EQ(Qualifier(api, kDeviceMouse, kChannelInput, &answered), -1);
  EXPECT_FALSE(answered);
  host.faults().input_state_fails = true;
  EXPECT_EQ(Qualifier(api, kDeviceKeyboard, kChannelInput, &answered), -1);  // untouched
  EXPECT_FALSE(answered);
}

TEST_F(Input, RenameDialogTakesTheScriptedAnswersInOrder) {
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

}  // namespace standin_test
