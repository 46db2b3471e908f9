#include "binding.h"

using gm::Api;

namespace {

GmBool CreateLayoutThunk(void* self) { return static_cast<GeDialog*>(self)->CreateLayout(); }
GmBool InitValuesThunk(void* self) { return static_cast<GeDialog*>(self)->InitValues(); }

GmBool CommandThunk(void* self, int32_t id, const GmContainer* msg) {
  if (msg) return static_cast<GeDialog*>(self)->Command(id, *gm::View(msg));
  const BaseContainer empty;
  return static_cast<GeDialog*>(self)->Command(id, empty);
}

}  // namespace

GeDialog::GeDialog() : _dlg(nullptr) {
  if (!Api()) return;
  GmDialogCallbacks cb{};
  cb.self = this;
  cb.create_layout = CreateLayoutThunk;
  cb.init_values = InitValuesThunk;
  cb.command = CommandThunk;
  _dlg = Api()->dialog_alloc(&cb);
}

GeDialog::~GeDialog() {
  if (_dlg) Api()->dialog_free(_dlg);
}

// The defaults are those of the SDK's framework.
Bool GeDialog::CreateLayout(void) { return true; }
Bool GeDialog::InitValues(void) { return true; }
Bool GeDialog::Command(Int32 /*id*/, const BaseContainer& /*msg*/) { return false; }

Bool GeDialog::Open(DLG_TYPE dlgtype, Int32 pluginid, Int32 xpos, Int32 ypos, Int32 defaultw,
                    Int32 defaulth, Int32 subid) {
  return _dlg && Api()->dialog_open(_dlg, static_cast<int32_t>(dlgtype), pluginid, xpos, ypos,
                                    defaultw, defaulth, subid);
}

Bool GeDialog::RestoreLayout(Int32 pluginid, Int32 subid, void* secret) {
  return _dlg && Api()->dialog_restore_layout(_dlg, pluginid, subid, secret);
}

void GeDialog::SetTitle(const String& title) {
  if (_dlg) Api()->dialog_set_title(_dlg, title.GetCStr(), title.GetStdString().size());
}

Bool GeDialog::GroupBegin(Int32 id, Int32 flags, Int32 cols, Int32 rows, const String& title,
                          Int32 groupflags, Int32 initw, Int32 inith) {
  return _dlg && Api()->dialog_group_begin(_dlg, id, flags, cols, rows, title.GetCStr(),
                                           title.GetStdString().size(), groupflags, initw, inith);
}

Bool GeDialog::GroupSpace(Int32 spacex, Int32 spacey) {
  return _dlg && Api()->dialog_group_space(_dlg, spacex, spacey);
}

Bool GeDialog::GroupBorderSpace(Int32 left, Int32 top, Int32 right, Int32 bottom) {
  return _dlg && Api()->dialog_group_border_space(_dlg, left, top, right, bottom);
}

Bool GeDialog::GroupEnd(void) { return _dlg && Api()->dialog_group_end(_dlg); }

C4DGadget* GeDialog::AddStaticText(Int32 id, Int32 flags, Int32 initw, Int32 inith,
                                   const String& name, Int32 borderstyle) {
  if (!_dlg || !Api()->dialog_add_static_text(_dlg, id, flags, initw, inith, name.GetCStr(),
                                              name.GetStdString().size(), borderstyle))
    return nullptr;
  return reinterpret_cast<C4DGadget*>(_dlg);  // a non-null token: the gadget exists
}

C4DGadget* GeDialog::AddComboBox(Int32 id, Int32 flags, Int32 initw, Int32 inith,
                                 Bool specialalign, Bool allowFiltering) {
  if (!_dlg ||
      !Api()->dialog_add_combo_box(_dlg, id, flags, initw, inith, specialalign, allowFiltering))
    return nullptr;
  return reinterpret_cast<C4DGadget*>(_dlg);
}

Bool GeDialog::FreeChildren(const GadgetPtr& id) {
  return _dlg && Api()->dialog_free_children(_dlg, id.GetId());
}

Bool GeDialog::AddChildren(const GadgetPtr& id, const BaseContainer& bc) {
  return _dlg && bc.Handle() && Api()->dialog_add_children(_dlg, id.GetId(), bc.Handle());
}

Bool GeDialog::SetInt32(const GadgetPtr& id, Int32 value, Int32 min, Int32 max, Int32 step,
                        Int32 tristate, Int32 /*min2*/, Int32 /*max2*/) {
  return _dlg && Api()->dialog_set_int32(_dlg, id.GetId(), value, min, max, step, tristate);
}

Bool GeDialog::GetInt32(const GadgetPtr& id, Int32& value) const {
  return _dlg && Api()->dialog_get_int32(_dlg, id.GetId(), &value);
}

Bool GeDialog::LayoutChanged(const GadgetPtr& id) {
  return _dlg && Api()->dialog_layout_changed(_dlg, id.GetId());
}
