// Dialogs without windows: the host runs the module's layout and value callbacks and records what
// they build, so that tests can read the layout and act as the user.
#ifndef GEMLITH_STANDIN_DIALOG_H
#define GEMLITH_STANDIN_DIALOG_H

#include "standin/host.h"

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

}  // namespace standin

#endif  // GEMLITH_STANDIN_DIALOG_H
