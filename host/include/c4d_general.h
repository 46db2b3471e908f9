// Application services: events, threads, host commands, the rename dialog, stored preferences.
#ifndef GEMLITH_C4D_GENERAL_H
#define GEMLITH_C4D_GENERAL_H

#include "c4d_basecontainer.h"
#include "c4d_string.h"
#include "ge_math.h"
#include "ge_prepass.h"

// Opens the host's standard rename dialog; `str` is assigned the new name. True if the name was
// changed.
Bool RenameDialog(String* str);
// Stops all running threads; to be called whenever a document is modified asynchronously.
void StopAllThreads(void);
// Adds a global event to the host's event queue.
void EventAdd(EVENT eventflag = EVENT::NONE);
// The container stored with SetWorldPluginData for plugin `id` in the host's preferences; the
// host owns it.
BaseContainer* GetWorldPluginData(Int32 id);
// Stores `bc` for plugin `id` in the host's preferences: add = true merges it with what is stored,
// add = false replaces it.
Bool SetWorldPluginData(Int32 id, const BaseContainer& bc, Bool add = true);
// Executes the host's command `id` (`subid`: used for scripts).
void CallCommand(Int32 id, Int32 subid = 0);

#endif
