// The module entry point and the start-up glue that ties the module to the host's interface.
#ifndef GEMLITH_C4D_PLUGIN_H
#define GEMLITH_C4D_PLUGIN_H

#include "ge_types.h"

#if defined(_WIN32)
#define GM_EXPORT __declspec(dllexport)
#else
#define GM_EXPORT __attribute__((visibility("default")))
#endif

// The module's entry point; the host calls it with its actions.
extern "C" GM_EXPORT Int32 c4d_main(Int32 action, void* p1, void* p2, void* p3);

// Takes the host's interface table (p1 of the first action 1) and returns the host's API version,
// or 0 when the table is missing or older than this binding.
Int32 InitOS(void* p1);

// The core framework's record of this module, set up from p3 of the first action 1.
struct GmModuleRecord {
  const char* module_id;
  const void* core;
};
extern "C" GM_EXPORT GmModuleRecord g_maxon;
extern "C" GM_EXPORT void* g_CpuYieldDelegate;

Bool InitModuleRecord(void* p3, const char* module_id);
void FreeModuleRecord();

#endif
