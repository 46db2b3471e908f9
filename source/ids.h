// Identifiers the module shares with the host: plugin ids, the stored option, the object record.
#ifndef GEMLITH_IDS_H
#define GEMLITH_IDS_H

#include "c4d.h"

// Plugin ids of the menu entries.
constexpr Int32 ID_GEMLITH_SETTINGS = 1050043;
constexpr Int32 ID_GEMLITH_SELECT = 1050045;
constexpr Int32 ID_GEMLITH_SPLIT = 1050046;
constexpr Int32 ID_GEMLITH_CREATE = 1050047;
constexpr Int32 ID_GEMLITH_SWAP = 1050048;
constexpr Int32 ID_GEMLITH_RENAME = 1050049;
constexpr Int32 ID_GEMLITH_FRAMEELEMENTS = 1050103;
constexpr Int32 ID_GEMLITH_FRAMEOBJECTS = 1050104;
constexpr Int32 ID_GEMLITH_MAKEEDITABLE = 1050105;
constexpr Int32 ID_GEMLITH_SEPARATOR = 1050106;

// The Settings id also keys the stored preferences, the dialog and the per-object record.
constexpr Int32 ID_GEMLITH = ID_GEMLITH_SETTINGS;

// Element of the stored preferences container: the mode given to new instance objects.
constexpr Int32 SETTING_INSTANCE_MODE = 0;

// Elements of the per-object record (the sub-container under ID_GEMLITH in an object's data).
constexpr Int32 RECORD_SAVED_MODE = 1;    // the instance mode saved while framing
constexpr Int32 RECORD_SWAP_PARTNER = 2;  // the object a swap exchanged this one with

// The host's menu commands the frame commands run; the SDK has no names for them.
constexpr Int32 IDM_FRAME_OBJECTS = 12151;   // frame the selected objects
constexpr Int32 IDM_FRAME_ELEMENTS = 13038;  // frame the selected elements

// How many further links a chain of instance objects may have before it counts as a cycle.
constexpr Int32 MAX_INSTANCE_CHAIN = 10000;

#endif
