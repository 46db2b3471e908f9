#include "binding.h"

namespace gm {
const GmHostApi* g_api = nullptr;

GmValue ToValue(const GeData& d) {
  GmValue v{};
  v.type = d.GetType();
  switch (d.GetType()) {
    case DA_LONG: v.i32 = d.GetInt32(); break;
    case DA_REAL: v.real = d.GetFloat(); break;
    case DA_STRING:
      v.str = d.GetString().GetStdString().data();
      v.str_len = d.GetString().GetStdString().size();
      break;
    case DA_ALIASLINK: v.marker = d.GetLinkMarker(); break;
    case DA_CONTAINER: v.sub = d.GetContainer() ? d.GetContainer()->Handle() : nullptr; break;
    default: v.type = GM_VALUE_NONE; break;
  }
  return v;
}

GeData FromValue(const GmValue& v) {
  GeData d;
  switch (v.type) {
    case GM_VALUE_LONG: d.SetInt32(v.i32); break;
    case GM_VALUE_REAL: d.SetFloat(v.real); break;
    case GM_VALUE_STRING: d.SetString(TakeString(v.str, v.str_len)); break;
    case GM_VALUE_LINK: d.SetLinkMarker(v.marker); break;
    case GM_VALUE_CONTAINER:
      if (v.sub) d.SetContainer(*View(v.sub));
      break;
    default: break;
  }
  return d;
}

String TakeString(const char* s, size_t len) { return s ? String(s, len) : String(); }

}  // namespace gm

// ---- the start-up call ----

Int32 InitOS(void* p) {
  auto* api = static_cast<const GmHostApi*>(p);
  if (!api || api->table_version < GM_API_TABLE_VERSION ||
      api->table_size < static_cast<int32_t>(sizeof(GmHostApi)) || !api->api_version) {
    gm::SetApi(nullptr);
    return 0;
  }
  gm::SetApi(api);
  return api->api_version();
}
