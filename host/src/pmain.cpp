// The module's entry point: the host's actions, the load counter, the API version check, and the
// module record. It calls the module's PluginStart, PluginMessage and PluginEnd.
#include "binding.h"
#include "module.h"

#ifndef MAXON_MODULE_ID
#error "MAXON_MODULE_ID must name the module (the build defines it)"
#endif

extern "C" {
GmModuleRecord g_maxon = {nullptr, nullptr};
void* g_CpuYieldDelegate = nullptr;
}

namespace {

// The host may start the module more than once; only the first start and the last end count.
Int32 g_initCount = 0;

}  // namespace

C4D_MAIN {
  switch (action) {
    case C4DPL_INIT_VERSION:
      return C4DPL_VERSION;
    case C4DPL_INIT_SYS:
      if (++g_initCount == 1) {
        if (InitOS(p1) < API_VERSION || !p3) return C4DPL_ERROR_VERSION;
        g_maxon.module_id = MAXON_MODULE_ID;
        g_maxon.core = p3;
      }
      return 1;
    case C4DPL_MESSAGE:
      return PluginMessage(static_cast<Int32>(reinterpret_cast<intptr_t>(p1)), p2) ? 1
                                                                                   : C4DPL_ERROR;
    case C4DPL_INIT:
      return PluginStart() ? 1 : 0;
    case C4DPL_END:
      if (g_initCount > 0 && --g_initCount == 0) {
        PluginEnd();
        g_resource.Free();
        g_maxon = GmModuleRecord{nullptr, nullptr};
      }
      return 1;
    default:
      return C4DPL_ERROR;
  }
}
