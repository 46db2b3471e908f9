// Scripted user input (see input.h): the get_input_state entry of the table and Host's input
// methods.
#include "input.h"

#include "api_table.h"
#include "container.h"

namespace standin {

bool IsKeyboardChannel(int32_t channel) {
  return channel == kChannelInput || (channel >= 0x20 && channel <= 0x7E) ||
         (channel >= 0xF000 && channel <= 0xF1BF);
}

bool Input::State(int32_t device, int32_t channel, GmContainer* out) const {
  const bool keyboard = device == kDeviceKeyboard && IsKeyboardChannel(channel);
  const bool mouse = device == kDeviceMouse && channel == kChannelMouseLeft;
  if (!keyboard && !mouse) return false;
  SetElement(*out, kInputQualifier, LongValue(qualifiers));
  return true;
}

std::optional<std::string> Input::NextRename() {
  if (renames_.empty()) return std::nullopt;
  auto answer = std::move(renames_.front());
  renames_.pop_front();
  return answer;
}

// ---- the table's entries ----

namespace {

GmBool GetInputState(int32_t device, int32_t channel, GmContainer* out) {
  NEED_HOST(0);
  if (!out || H().faults.Deliver(H().faults.input_state_fails)) return 0;
  return H().input.State(device, channel, out);
}

}  // namespace

void FillInputApi(GmHostApi* t) {
  t->get_input_state = GetInputState;
}

// ---- Host: scripted input ----

void Host::SetQualifiers(int32_t q) { impl_->input.qualifiers = q; }
int32_t Host::Qualifiers() const { return impl_->input.qualifiers; }
void Host::QueueRenameConfirm(const std::string& text) { impl_->input.QueueRename(text); }
void Host::QueueRenameCancel() { impl_->input.QueueRename(std::nullopt); }

}  // namespace standin
