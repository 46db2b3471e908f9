#include "dialog.h"

#include "host_impl.h"

namespace standin {

GadgetState& Gadget(GmDialog* dlg, int32_t id) { return dlg->view.gadgets[id]; }

void AddLayoutItem(GmDialog* dlg, LayoutItem item) { dlg->view.layout.push_back(std::move(item)); }

bool OpenDialog(HostImpl& host, GmDialog* dlg, int32_t type, int32_t plugin_id, int32_t xpos,
                int32_t ypos, int32_t w, int32_t h, int32_t sub_id) {
  if (!host.OnMainThread()) return false;
  DialogView& v = dlg->view;
  ++v.open_calls;
  if (v.open) {
    // Opening an open dialog fills its values again.
    ++v.init_values_calls;
    return dlg->callbacks.init_values ? dlg->callbacks.init_values(dlg->callbacks.self) != 0 : true;
  }
  // Another dialog that was opened with this plugin id is replaced in the host's view.
  for (GmDialog* other : host.dialogs) {
    if (other != dlg && other->view.open && other->view.plugin_id == plugin_id) {
      other->view.open = false;
    }
  }
  v.plugin_id = plugin_id;
  v.type = type;
  v.xpos = xpos;
  v.ypos = ypos;
  v.default_w = w;
  v.default_h = h;
  v.sub_id = sub_id;
  v.layout.clear();
  v.gadgets.clear();
  v.open = true;
  dlg->opened_once = true;
  ++v.create_layout_calls;
  bool ok = dlg->callbacks.create_layout ? dlg->callbacks.create_layout(dlg->callbacks.self) != 0
                                         : true;
  if (!ok) {
    v.open = false;
    return false;
  }
  ++v.init_values_calls;
  if (dlg->callbacks.init_values) dlg->callbacks.init_values(dlg->callbacks.self);
  return true;
}

}  // namespace standin
