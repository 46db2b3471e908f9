#include "input.h"

#include "container.h"

namespace standin {

bool Input::State(int32_t device, int32_t channel, GmContainer* out) const {
  const bool keyboard =
      device == kDeviceKeyboard && (channel == kChannelInput || channel == kChannelModifiers);
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

}  // namespace standin
