// Dialog layout flags, command states, modifier keys and input devices.
#ifndef GEMLITH_GUI_H
#define GEMLITH_GUI_H

#include "ge_math.h"

// Grid group flags.
enum { BFV_GRIDGROUP_EQUALCOLS = 1 };

// Gadget layout flags.
enum {
  BFV_TOP = 1,
  BFV_SCALEFIT = 7,
  BFH_LEFT = 8,
  BFH_SCALEFIT = 56,
};

// Command state flags.
enum { CMD_ENABLED = 0x40000000 };

// Modifier keys (qualifier bits).
enum {
  QSHIFT = 1,
  QCTRL = 2,
  QALT = 4,
};

// Input devices and channels; the host's four-character codes.
enum {
  BFM_INPUT_QUALIFIER = 0x69707161,  // 'ipqa'
  BFM_INPUT_MOUSE = 0x6D6F7573,      // 'mous'
  BFM_INPUT_KEYBOARD = 0x6B657962,   // 'keyb'
  BFM_INPUT_CHANNEL = 0x69706361,    // 'ipca'
  BFM_INPUT_MOUSELEFT = 1,
};

#endif
