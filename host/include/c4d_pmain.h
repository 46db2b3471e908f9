// The module's entry point, defined by the binding (host/src/pmain.cpp).
#ifndef GEMLITH_C4D_PMAIN_H
#define GEMLITH_C4D_PMAIN_H

#include "ge_math.h"

#if defined(_WIN32)
#define GEMLITH_DLL_PUBLIC __declspec(dllexport)
#else
#define GEMLITH_DLL_PUBLIC __attribute__((visibility("default")))
#endif

extern "C" {
#define C4D_MAIN GEMLITH_DLL_PUBLIC Int32 c4d_main(Int32 action, void* p1, void* p2, void* p3)
C4D_MAIN;
}

#endif
