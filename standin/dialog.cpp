// Dialogs without windows (see dialog.h): the dialog_*, message_dialog and rename_dialog entries of
// the table, and Host's methods that act as the user in a dialog.
#include "dialog.h"

#include "api_table.h"
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

// ---- the table's entries ----

namespace {

void MessageDialog(const char* text, size_t len) {
  NEED_HOST();
  H().activity.messages.emplace_back(text ? text : "", text ? len : 0);
}
GmBool RenameDialog(const char*, size_t, const char** out, size_t* out_len) {
  NEED_HOST(0);
  HostImpl& h = H();
  ++h.activity.rename_dialogs;
  auto answer = h.input.NextRename();
  if (!answer) return 0;
  h.rename_text = *answer;
  if (out) *out = h.rename_text.c_str();
  if (out_len) *out_len = h.rename_text.size();
  return 1;
}

GmDialog* DialogAlloc(const GmDialogCallbacks* callbacks) {
  NEED_HOST(nullptr);
  HostImpl& h = H();
  if (h.faults.Deliver(h.faults.dialog_handle_missing)) return nullptr;
  auto* d = new GmDialog;
  if (callbacks) d->callbacks = *callbacks;
  h.dialogs.push_back(d);
  return d;
}
void DialogFree(GmDialog* d) {
  if (!d) return;
  if (HostImpl* h = CurrentImpl()) {
    h->dialogs.erase(std::remove(h->dialogs.begin(), h->dialogs.end(), d), h->dialogs.end());
    if (d->opened_once) {
      DialogView v = d->view;
      v.open = false;
      h->closed_dialog_views[v.plugin_id] = v;
    }
  }
  delete d;
}
GmBool DialogOpen(GmDialog* d, int32_t type, int32_t plugin_id, int32_t x, int32_t y, int32_t w,
                  int32_t hgt, int32_t sub_id) {
  NEED_HOST(0);
  if (!d) return 0;
  return OpenDialog(H(), d, type, plugin_id, x, y, w, hgt, sub_id);
}
GmBool DialogRestoreLayout(GmDialog* d, int32_t plugin_id, int32_t sub_id, void*) {
  NEED_HOST(0);
  if (!d) return 0;
  ++d->view.restore_calls;
  return OpenDialog(H(), d, kDialogAsync, plugin_id, -1, -1, 0, 0, sub_id);
}
GmBool DialogSetTitle(GmDialog* d, const char* title, size_t len) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kTitle;
  it.text.assign(title ? title : "", title ? len : 0);
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupBegin(GmDialog* d, int32_t id, int32_t flags, int32_t cols, int32_t rows,
                        const char* title, size_t title_len, int32_t group_flags, int32_t init_w,
                        int32_t init_h) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupBegin;
  it.id = id;
  it.args = {flags, cols, rows, group_flags, init_w, init_h};
  it.text.assign(title ? title : "", title ? title_len : 0);
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupSpace(GmDialog* d, int32_t x, int32_t y) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupSpace;
  it.args = {x, y};
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupBorderSpace(GmDialog* d, int32_t l, int32_t t, int32_t r, int32_t b) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupBorderSpace;
  it.args = {l, t, r, b};
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogGroupEnd(GmDialog* d) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kGroupEnd;
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogAddStaticText(GmDialog* d, int32_t id, int32_t flags, int32_t init_w, int32_t init_h,
                           const char* text, size_t len, int32_t border_style) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kStaticText;
  it.id = id;
  it.args = {flags, init_w, init_h, border_style};
  it.text.assign(text ? text : "", text ? len : 0);
  AddLayoutItem(d, std::move(it));
  return 1;
}
GmBool DialogAddComboBox(GmDialog* d, int32_t id, int32_t flags, int32_t init_w, int32_t init_h,
                         GmBool special_align, GmBool allow_filtering) {
  if (!d) return 0;
  LayoutItem it;
  it.kind = LayoutItem::kComboBox;
  it.id = id;
  it.args = {flags, init_w, init_h, special_align ? 1 : 0, allow_filtering ? 1 : 0};
  AddLayoutItem(d, std::move(it));
  Gadget(d, id);
  return 1;
}
GmBool DialogFreeChildren(GmDialog* d, int32_t id) {
  if (!d) return 0;
  Gadget(d, id).children.clear();
  return 1;
}
GmBool DialogAddChildren(GmDialog* d, int32_t id, const GmContainer* entries) {
  if (!d || !entries) return 0;
  GadgetState& g = Gadget(d, id);
  for (const auto& [value, v] : entries->elements)
    g.children.emplace_back(value, v.type == GM_VALUE_STRING ? v.str : std::string());
  return 1;
}
GmBool DialogSetInt32(GmDialog* d, int32_t id, int32_t value, int32_t min, int32_t max,
                      int32_t step, GmBool tristate) {
  if (!d) return 0;
  GadgetState& g = Gadget(d, id);
  g.value = value;
  g.min = min;
  g.max = max;
  g.step = step;
  g.tristate = tristate != 0;
  g.value_set = true;
  return 1;
}
GmBool DialogGetInt32(GmDialog* d, int32_t id, int32_t* value) {
  NEED_HOST(0);
  if (!d || !value || H().faults.Deliver(H().faults.dialog_get_int32_fails)) return 0;
  auto it = d->view.gadgets.find(id);
  if (it == d->view.gadgets.end()) return 0;
  *value = it->second.value;
  return 1;
}
GmBool DialogLayoutChanged(GmDialog* d, int32_t id) {
  if (!d) return 0;
  ++Gadget(d, id).layout_changed;
  return 1;
}

}  // namespace

void FillDialogApi(GmHostApi* t) {
  t->message_dialog = MessageDialog;
  t->rename_dialog = RenameDialog;
  t->dialog_alloc = DialogAlloc;
  t->dialog_free = DialogFree;
  t->dialog_open = DialogOpen;
  t->dialog_restore_layout = DialogRestoreLayout;
  t->dialog_set_title = DialogSetTitle;
  t->dialog_group_begin = DialogGroupBegin;
  t->dialog_group_space = DialogGroupSpace;
  t->dialog_group_border_space = DialogGroupBorderSpace;
  t->dialog_group_end = DialogGroupEnd;
  t->dialog_add_static_text = DialogAddStaticText;
  t->dialog_add_combo_box = DialogAddComboBox;
  t->dialog_free_children = DialogFreeChildren;
  t->dialog_add_children = DialogAddChildren;
  t->dialog_set_int32 = DialogSetInt32;
  t->dialog_get_int32 = DialogGetInt32;
  t->dialog_layout_changed = DialogLayoutChanged;
}

GmDialog* HostImpl::DialogFor(int32_t plugin_id) const {
  GmDialog* found = nullptr;
  for (GmDialog* d : dialogs) {
    if (d->opened_once && d->view.plugin_id == plugin_id) {
      if (d->view.open) return d;
      found = d;
    }
  }
  return found;
}

// ---- Host: acting as the user ----

bool Host::DialogPick(int32_t plugin_id, int32_t value, int32_t gadget) {
  GmDialog* d = impl_->DialogFor(plugin_id);
  if (!d || !d->view.open) return false;
  if (gadget < 0) {
    for (const LayoutItem& it : d->view.layout) {
      if (it.kind == LayoutItem::kComboBox) {
        gadget = it.id;
        break;
      }
    }
    if (gadget < 0) return false;
  }
  Gadget(d, gadget).value = value;
  if (d->callbacks.command) {
    GmContainer msg;
    d->callbacks.command(d->callbacks.self, gadget, &msg);
  }
  return true;
}

bool Host::DialogClose(int32_t plugin_id) {
  GmDialog* d = impl_->DialogFor(plugin_id);
  if (!d || !d->view.open) return false;
  d->view.open = false;
  return true;
}

const DialogView* Host::Dialog(int32_t plugin_id) const {
  if (GmDialog* d = impl_->DialogFor(plugin_id)) return &d->view;
  auto it = impl_->closed_dialog_views.find(plugin_id);
  return it == impl_->closed_dialog_views.end() ? nullptr : &it->second;
}

}  // namespace standin
