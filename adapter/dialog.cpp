// The dialogs' entries (see entries.h): the module's GeDialog is the host's dialog; the host drives
// it through the module's message callback, with the application's messages (layout, values,
// commands), and the module builds and reads it through C4D_Dialog.
#include <string>

#include "entries.h"
#include "kernel.h"

namespace adapter {
namespace {

// The value messages a dialog's gadgets take (the application's four-character ids).
constexpr Int32 kCmTypeInt = 'vint';
constexpr Int32 kCmValue = 'valu';
constexpr Int32 kCmMin = 'mini';
constexpr Int32 kCmMax = 'maxi';
constexpr Int32 kCmStep = 'step';
constexpr Int32 kCmTristate = 'tris';

struct Dialog {
  CDialogMessage* message;
  void* user;
  GmDialog* dlg;
  GmDialogCallbacks callbacks;
  Int32 plugin_id = 0;  // as the module set them (DIALOG_SETIDS)
  Int32 sub_id = 0;
};

Dialog* Dlg(CDialog* cd) { return reinterpret_cast<Dialog*>(cd); }

// Sends the module one of the application's dialog messages: a container with the message's id,
// holding `elements` (copied) and `extra`.
GmBool Send(Dialog* d, Int32 message, const GmContainer* elements, Int32 extra_id, Int32 extra) {
  Blob msg{Api()->container_alloc(), message};
  if (elements) Api()->container_copy(msg.handle, elements);
  if (extra_id) {
    GmValue v{};
    v.type = GM_VALUE_LONG;
    v.i32 = extra;
    Api()->container_set(msg.handle, extra_id, &v);
  }
  const Int32 answer = d->message(reinterpret_cast<CDialog*>(d), nullptr, reinterpret_cast<BaseContainer*>(&msg));
  if (msg.handle) Api()->container_free(msg.handle);
  return answer != 0;
}

GmBool CreateLayout(void* self) { return Send(static_cast<Dialog*>(self), BFM_INIT, nullptr, 0, 0); }
GmBool InitValues(void* self) {
  return Send(static_cast<Dialog*>(self), BFM_INITVALUES, nullptr, 0, 0);
}
GmBool Command(void* self, int32_t id, const GmContainer* msg) {
  return Send(static_cast<Dialog*>(self), BFM_ACTION, msg, BFM_ACTION_ID, id);
}

CDialog* CdAlloc(CDialogMessage* message, void* user) {
  auto* d = new Dialog{message, user, nullptr, {}};
  d->callbacks = GmDialogCallbacks{d, CreateLayout, InitValues, Command};
  d->dlg = Api()->dialog_alloc(&d->callbacks);
  return reinterpret_cast<CDialog*>(d);
}
void CdFree(CDialog* cd) {
  Dialog* d = Dlg(cd);
  if (!d) return;
  if (d->dlg) Api()->dialog_free(d->dlg);
  delete d;
}
void* CdGetUserData(CDialog* cd) { return Dlg(cd)->user; }
Bool CdSetMessageResult(CDialog*, const BaseContainer*) { return true; }

Bool CdAddGadget(CDialog* cd, Int32 type, Int32 id, const maxon::String* name, Int32 par1,
                 Int32 par2, Int32 par3, Int32 par4, const BaseContainer*, void** resptr) {
  Dialog* d = Dlg(cd);
  const std::string text = name ? Utf8(*name) : std::string();
  GmBool ok = 0;
  switch (type) {
    case DIALOG_SETIDS:
      d->plugin_id = id;
      d->sub_id = par1;
      return true;
    case DIALOG_SETTITLE: ok = Api()->dialog_set_title(d->dlg, text.data(), text.size()); break;
    case DIALOG_STATICTEXT:
      ok = Api()->dialog_add_static_text(d->dlg, id, par1, par2, par3, text.data(), text.size(), par4);
      break;
    case DIALOG_COMBOBOX:
      ok = Api()->dialog_add_combo_box(d->dlg, id, par1, par2, par3, (par4 & 1) != 0, (par4 & 2) != 0);
      break;
    case DIALOG_CHILD: {
      GmContainer* entry = Api()->container_alloc();
      GmValue v{};
      v.type = GM_VALUE_STRING;
      v.str = text.data();
      v.str_len = text.size();
      Api()->container_set(entry, par1, &v);
      ok = Api()->dialog_add_children(d->dlg, id, entry);
      Api()->container_free(entry);
      break;
    }
    case DIALOG_FREECHILDREN: ok = Api()->dialog_free_children(d->dlg, id); break;
    case DIALOG_LAYOUTCHANGED: ok = Api()->dialog_layout_changed(d->dlg, id); break;
    default: Unsupported("C4D_Dialog.AddGadget of kind " + std::to_string(type));
  }
  if (resptr) *resptr = ok ? d : nullptr;  // the gadget: only ever passed back
  return ok != 0;
}

Bool CdGroupBegin(CDialog* cd, Int32 id, Int32 flags, Int32 cols, Int32 rows,
                  const maxon::String* title, Int32 groupflags, Int32 minx, Int32 miny) {
  const std::string text = title ? Utf8(*title) : std::string();
  return Api()->dialog_group_begin(Dlg(cd)->dlg, id, flags, cols, rows, text.data(), text.size(),
                                   groupflags, minx, miny);
}
Bool CdGroupSpace(CDialog* cd, Int32 x, Int32 y) { return Api()->dialog_group_space(Dlg(cd)->dlg, x, y); }
Bool CdGroupBorderSize(CDialog* cd, Int32 l, Int32 t, Int32 r, Int32 b) {
  return Api()->dialog_group_border_space(Dlg(cd)->dlg, l, t, r, b);
}
Bool CdGroupEnd(CDialog* cd) { return Api()->dialog_group_end(Dlg(cd)->dlg); }
Bool CdOpen(CDialog* cd, DLG_TYPE type, CDialog*, Int32 x, Int32 y, Int32 w, Int32 h) {
  Dialog* d = Dlg(cd);
  return Api()->dialog_open(d->dlg, static_cast<int32_t>(type), d->plugin_id, x, y, w, h, d->sub_id);
}
Bool CdRestoreLayout(CDialog* cd, void* secret) {
  Dialog* d = Dlg(cd);
  return Api()->dialog_restore_layout(d->dlg, d->plugin_id, d->sub_id, secret);
}
Bool CdGetInt32(CDialog* cd, Int32 id, Int32& value, void*) {
  int32_t v = 0;
  if (!Api()->dialog_get_int32(Dlg(cd)->dlg, id, &v)) return false;
  value = v;
  return true;
}

// A gadget's value message: the module's SetInt32.
GeDataValue CdSendUserAreaMessage(CDialog* cd, Int32 id, BaseContainer* msg, void*) {
  if (!msg || BcGetId(msg) != kCmTypeInt) {
    Unsupported("C4D_Dialog.SendUserAreaMessage with message " + std::to_string(msg ? BcGetId(msg) : 0));
  }
  const GmBool ok = Api()->dialog_set_int32(
      Dlg(cd)->dlg, id, BcGetInt32(msg, kCmValue, 0), BcGetInt32(msg, kCmMin, 0),
      BcGetInt32(msg, kCmMax, 0), BcGetInt32(msg, kCmStep, 1), BcGetInt32(msg, kCmTristate, 0));
  return GeDataValue(ok ? 1 : 0);
}

}  // namespace

void ImplementDialogs(OperatingSystem& os) {
  os.Cd->Alloc = CdAlloc;
  os.Cd->Free = CdFree;
  os.Cd->GetUserData = CdGetUserData;
  os.Cd->SetMessageResult = CdSetMessageResult;
  os.Cd->AddGadget = CdAddGadget;
  os.Cd->GroupBegin = CdGroupBegin;
  os.Cd->GroupSpace = CdGroupSpace;
  os.Cd->GroupBorderSize = CdGroupBorderSize;
  os.Cd->GroupEnd = CdGroupEnd;
  os.Cd->Open = CdOpen;
  os.Cd->RestoreLayout = CdRestoreLayout;
  os.Cd->GetInt32 = CdGetInt32;
  SetByValue(os.Cd->SendUserAreaMessage, CdSendUserAreaMessage);
}

}  // namespace adapter
