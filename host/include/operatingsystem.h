// The host's API version and the start-up call that ties the binding to the host's interface.
#ifndef GEMLITH_OPERATINGSYSTEM_H
#define GEMLITH_OPERATINGSYSTEM_H

#include "ge_math.h"

#define API_VERSION 21000

// Takes the host's interface table (p1 of the first C4DPL_INIT_SYS) and returns the host's API
// version, or 0 when the table is missing or older than this binding.
Int32 InitOS(void* p);

#endif
