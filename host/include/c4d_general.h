// Application services: events, threads, host commands, the rename dialog, stored preferences.
#ifndef GEMLITH_C4D_GENERAL_H
#define GEMLITH_C4D_GENERAL_H

#include "c4d_basecontainer.h"
#include "c4d_string.h"
#include "ge_math.h"
#include "ge_prepass.h"

// The host's modal rename dialog; true when the user confirmed (`str` then holds the text).
Bool RenameDialog(String* str);
void StopAllThreads(void);
// Asks the host to refresh its views and managers.
void EventAdd(EVENT eventflag = EVENT::NONE);
// The stored world plugin container of `id` (host-owned), or null when none is stored.
BaseContainer* GetWorldPluginData(Int32 id);
// Stores `bc` as the world plugin container of `id`; add = false replaces the whole container.
Bool SetWorldPluginData(Int32 id, const BaseContainer& bc, Bool add = true);
// Runs the host's menu command `id` (nothing off the main thread).
void CallCommand(Int32 id, Int32 subid = 0);

#endif
