// Scripted user input: the modifier keys held and the answers to rename dialogs.
#ifndef GEMLITH_STANDIN_INPUT_H
#define GEMLITH_STANDIN_INPUT_H

#include <deque>
#include <optional>
#include <string>

#include "standin/host.h"

namespace standin {

class Input {
 public:
  int32_t qualifiers = 0;
  // Fills `out` with the qualifier word for the devices and channels the host answers.
  bool State(int32_t device, int32_t channel, GmContainer* out) const;

  void QueueRename(std::optional<std::string> answer) { renames_.push_back(std::move(answer)); }
  // The next answer: the text on confirm, nothing on cancel (the default when none is queued).
  std::optional<std::string> NextRename();

 private:
  std::deque<std::optional<std::string>> renames_;
};

}  // namespace standin

#endif  // GEMLITH_STANDIN_INPUT_H
