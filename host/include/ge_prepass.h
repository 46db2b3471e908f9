// The host's object types, bits and flag enumerations.
#ifndef GEMLITH_GE_PREPASS_H
#define GEMLITH_GE_PREPASS_H

#include "ge_math.h"

// Object and list element types.
#define Oinstance 5126
#define Onull 5140
#define Obase 5155
#define Ocube 5159
#define Osphere 5160

// Bits of an element's bit word.
#define BIT_ACTIVE (1 << 1)

#define GEMLITH_FLAG_OPERATORS(E)                                                              \
  constexpr E operator|(E a, E b) { return E(static_cast<Int32>(a) | static_cast<Int32>(b)); } \
  constexpr E operator&(E a, E b) { return E(static_cast<Int32>(a) & static_cast<Int32>(b)); }

enum class EVENT { NONE = 0 };

enum class COPYFLAGS {
  NONE = 0,
  NO_HIERARCHY = (1 << 2),
  RECURSIONCHECK = (1 << 14),
};
GEMLITH_FLAG_OPERATORS(COPYFLAGS)

enum class UNDOTYPE {
  CHANGE = 40,
  CHANGE_SMALL = 42,
  NEWOBJ = 44,
  DELETEOBJ = 45,
  BITS = 48,
};

enum class DESCFLAGS_GET { NONE = 0 };
GEMLITH_FLAG_OPERATORS(DESCFLAGS_GET)
enum class DESCFLAGS_SET { NONE = 0 };
GEMLITH_FLAG_OPERATORS(DESCFLAGS_SET)

enum class GETACTIVEOBJECTFLAGS {
  NONE = 0,
  CHILDREN = (1 << 0),
  SELECTIONORDER = (1 << 1),
};
GEMLITH_FLAG_OPERATORS(GETACTIVEOBJECTFLAGS)

enum class DLG_TYPE {
  MODAL = 10,
  ASYNC = 20,
};

#endif
