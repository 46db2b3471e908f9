// Dialogs without windows: the host runs the module's layout and value callbacks and records what
// they build, so that tests can read the layout and act as the user. Fills the dialog_* entries of
// the table, message_dialog and rename_dialog (whose answers come from the scripted input).
#ifndef GEMLITH_STANDIN_DIALOG_H
#define GEMLITH_STANDIN_DIALOG_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gemlith_api.h"

namespace standin {

constexpr int32_t kDialogAsync = 20;

struct LayoutItem {
  enum Kind { kTitle, kGroupBegin, kGroupSpace, kGroupBorderSpace, kGroupEnd, kStaticText, kComboBox };
  Kind kind = kTitle;
  int32_t id = 0;               // gadget id (groups, static text, combo box)
  std::vector<int32_t> args;    // the remaining integer arguments in call order
  std::string text;             // title / group title / static text
};

struct GadgetState {
  int32_t value = 0;
  int32_t min = 0, max = 0, step = 0;
  bool tristate = false;
  bool value_set = false;
  std::vector<std::pair<int32_t, std::string>> children;  // combo entries: value → label, in order
  int32_t layout_changed = 0;
};

struct DialogView {
  bool open = false;
  int32_t plugin_id = 0;
  int32_t type = 0, xpos = 0, ypos = 0, default_w = 0, default_h = 0, sub_id = 0;
  int32_t open_calls = 0;        // dialog_open calls
  int32_t create_layout_calls = 0;
  int32_t init_values_calls = 0;
  int32_t restore_calls = 0;
  std::vector<LayoutItem> layout;
  std::map<int32_t, GadgetState> gadgets;
};

}  // namespace standin

struct GmDialog {
  GmDialogCallbacks callbacks{};
  standin::DialogView view;
  bool opened_once = false;
};

namespace standin {

class HostImpl;

bool OpenDialog(HostImpl& host, GmDialog* dlg, int32_t type, int32_t plugin_id, int32_t xpos,
                int32_t ypos, int32_t w, int32_t h, int32_t sub_id);
GadgetState& Gadget(GmDialog* dlg, int32_t id);
void AddLayoutItem(GmDialog* dlg, LayoutItem item);

// The dialog_* entries, message_dialog and rename_dialog.
void FillDialogApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_DIALOG_H
