// The actions of the module's entry point, and the three functions every module defines for it.
#ifndef GEMLITH_C4D_PLUGIN_H
#define GEMLITH_C4D_PLUGIN_H

#include "ge_math.h"

#define C4DPL_VERSION 0x0005
#define C4DPL_ERROR -1
#define C4DPL_ERROR_VERSION -3
#define C4DPL_INIT_SYS 1
#define C4DPL_INIT 2
#define C4DPL_END 3
#define C4DPL_INIT_VERSION 4
#define C4DPL_MESSAGE 6

// Defined by the module: registers its plugins (on C4DPL_INIT).
Bool PluginStart(void);
// Defined by the module: releases what PluginStart took (on the last C4DPL_END).
void PluginEnd(void);
// Defined by the module: answers the host's messages (C4DPL_MESSAGE); false reports an error.
Bool PluginMessage(Int32 id, void* data);

#endif
