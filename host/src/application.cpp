#include "binding.h"

using gm::Api;

Bool GetInputState(Int32 askdevice, Int32 askchannel, BaseContainer& res) {
  return res.Handle() && Api()->get_input_state(askdevice, askchannel, res.Handle());
}

void EventAdd(EVENT eventflag) { Api()->event_add(static_cast<int32_t>(eventflag)); }

void StopAllThreads(void) { Api()->stop_all_threads(); }

void CallCommand(Int32 id, Int32 subid) { Api()->call_command(id, subid); }

void MessageDialog(const String& str) {
  Api()->message_dialog(str.GetStdString().data(), str.GetStdString().size());
}

Bool RenameDialog(String* str) {
  if (!str) return false;
  const char* out = nullptr;
  size_t out_len = 0;
  if (!Api()->rename_dialog(str->GetStdString().data(), str->GetStdString().size(), &out, &out_len))
    return false;
  *str = gm::TakeString(out, out_len);
  return true;
}

BaseContainer* GetWorldPluginData(Int32 id) { return gm::View(Api()->get_world_plugin_data(id)); }

Bool SetWorldPluginData(Int32 id, const BaseContainer& bc, Bool add) {
  return bc.Handle() && Api()->set_world_plugin_data(id, bc.Handle(), add);
}

// ---- commands ----

// The defaults are those of the SDK's framework.
Bool CommandData::Execute(BaseDocument* /*doc*/, GeDialog* /*parentManager*/) { return true; }
Int32 CommandData::GetState(BaseDocument* /*doc*/, GeDialog* /*parentManager*/) {
  return CMD_ENABLED;
}
Bool CommandData::RestoreLayout(void* /*secret*/) { return true; }

namespace {

GmBool ExecuteThunk(void* self, GmDoc* doc) {
  return static_cast<CommandData*>(self)->Execute(reinterpret_cast<BaseDocument*>(doc), nullptr);
}

int32_t GetStateThunk(void* self, GmDoc* doc) {
  return static_cast<CommandData*>(self)->GetState(reinterpret_cast<BaseDocument*>(doc), nullptr);
}

GmBool RestoreLayoutThunk(void* self, void* secret) {
  return static_cast<CommandData*>(self)->RestoreLayout(secret);
}

void DestroyThunk(void* self) { delete static_cast<CommandData*>(self); }

}  // namespace

Bool RegisterCommandPlugin(Int32 id, const String& str, Int32 info, BaseBitmap* icon,
                           const String& help, CommandData* dat) {
  if (!dat) return false;
  if (!Api()) {
    delete dat;
    return false;
  }
  GmCommandCallbacks cb{};
  cb.self = dat;
  cb.execute = ExecuteThunk;
  cb.get_state = GetStateThunk;
  cb.restore_layout = RestoreLayoutThunk;
  cb.destroy = DestroyThunk;
  if (!Api()->register_command(id, str.GetCStr(), info, reinterpret_cast<const GmBitmap*>(icon),
                               help.GetCStr(), &cb)) {
    // The host did not take the object over.
    delete dat;
    return false;
  }
  return true;
}

// ---- resource and icons ----

Filename GeGetPluginResourcePath() {
  if (!Api()) return Filename();
  size_t len = 0;
  const char* s = Api()->plugin_resource_path(&len);
  return Filename(gm::TakeString(s, len));
}

GeResource g_resource;

Bool GeResource::Init() { return Init(GeGetPluginResourcePath()); }

Bool GeResource::Init(const Filename& path, Bool /*regardIsStopped*/) {
  if (_tried) return _result;
  if (!Api()) return false;
  _tried = true;
  _res = Api()->resource_load(path.GetString().GetCStr());
  _result = _res != nullptr;
  return _result;
}

const String& GeResource::LoadString(Int32 id) {
  static const String empty;
  if (!_res) return empty;
  const auto known = _strings.find(id);
  if (known != _strings.end()) return known->second;
  size_t len = 0;
  const char* s = Api()->resource_string(_res, id, &len);
  if (!s) return empty;
  return _strings.emplace(id, gm::TakeString(s, len)).first->second;
}

void GeResource::Free() {
  if (_res && Api()) Api()->resource_free(_res);
  _res = nullptr;
  _strings.clear();
  _tried = false;
  _result = false;
}

AutoBitmap::AutoBitmap(const String& str, Float pixelRatio)
    : _bmp(!Api() ? nullptr
                  : Api()->bitmap_load(
                        (GeGetPluginResourcePath() + Filename(str)).GetString().GetCStr(),
                        pixelRatio)) {}

AutoBitmap::~AutoBitmap() {
  if (_bmp) Api()->bitmap_free(_bmp);
}

// ---- descriptions ----

namespace {
GmDescription* DescHandle(const Description* d) {
  return reinterpret_cast<GmDescription*>(const_cast<Description*>(d));
}
}  // namespace

Description* Description::Alloc() { return reinterpret_cast<Description*>(Api()->description_alloc()); }

void Description::Free(Description*& description) {
  if (description) Api()->description_free(DescHandle(description));
  description = nullptr;
}

Bool Description::LoadDescription(Int32 id) { return Api()->description_load(DescHandle(this), id); }

BaseContainer* Description::GetParameterI(const DescID& id, AtomArray* /*ar*/) {
  const DescLevel& level = id[0];
  // The host's description container is read-only to the module, as the SDK documents it.
  return const_cast<BaseContainer*>(gm::View(Api()->description_get_parameter(
      DescHandle(this), level.id, level.dtype, level.creator)));
}
