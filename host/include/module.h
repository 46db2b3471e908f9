// The module's record for the host's core (g_maxon) and the core's yield hook; both exported.
#ifndef GEMLITH_MODULE_H
#define GEMLITH_MODULE_H

#include "c4d_pmain.h"

// Set up from p3 of the first C4DPL_INIT_SYS, cleared by the last C4DPL_END. The id is the
// module's MAXON_MODULE_ID.
struct GmModuleRecord {
  const char* module_id;
  const void* core;
};
extern "C" GEMLITH_DLL_PUBLIC GmModuleRecord g_maxon;
extern "C" GEMLITH_DLL_PUBLIC void* g_CpuYieldDelegate;

#endif
