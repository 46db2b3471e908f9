// Scripted user input: the modifier keys held and the answers to rename dialogs. Fills the
// get_input_state entry of the table.
#ifndef GEMLITH_STANDIN_INPUT_H
#define GEMLITH_STANDIN_INPUT_H

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "gemlith_api.h"

namespace standin {

constexpr int32_t kQShift = 1;
constexpr int32_t kQCtrl = 2;
constexpr int32_t kQAlt = 4;

constexpr int32_t kDeviceKeyboard = 0x6B657962;  // 'keyb'
constexpr int32_t kDeviceMouse = 0x6D6F7573;     // 'mous'
constexpr int32_t kChannelInput = 0x69706361;    // 'ipca'
constexpr int32_t kChannelMouseLeft = 1;
constexpr int32_t kInputQualifier = 0x69707161;  // 'ipqa'

// Whether `channel` is one the keyboard is documented to be polled on: kChannelInput, or a key code
// (a printable character, or one of the KEY_ codes from 0xF000 to 0xF1BF).
bool IsKeyboardChannel(int32_t channel);

class Input {
 public:
  int32_t qualifiers = 0;
  // Fills `out` with the qualifier word for the documented channels of the keyboard and the left
  // mouse button; any other device or channel gets no state (false, `out` untouched).
  bool State(int32_t device, int32_t channel, GmContainer* out) const;

  void QueueRename(std::optional<std::string> answer) { renames_.push_back(std::move(answer)); }
  // The next answer: the text on confirm, nothing on cancel (the default when none is queued).
  std::optional<std::string> NextRename();

 private:
  std::deque<std::optional<std::string>> renames_;
};

// get_input_state.
void FillInputApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_INPUT_H
