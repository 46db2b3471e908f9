// Basic types and the host's constants, as the module's code names them.
#ifndef GEMLITH_GE_TYPES_H
#define GEMLITH_GE_TYPES_H

#include <cstdint>
#include <limits>

using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using Int = std::int64_t;
using Float = double;
using Bool = bool;
using Char = char;

struct Vector {
  Float x = 0, y = 0, z = 0;
  Vector() = default;
  Vector(Float x_, Float y_, Float z_) : x(x_), y(y_), z(z_) {}
  bool operator==(const Vector& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const Vector& o) const { return !(*this == o); }
};

// A local matrix: offset and the three axes.
struct Matrix {
  Vector off{0, 0, 0};
  Vector v1{1, 0, 0};
  Vector v2{0, 1, 0};
  Vector v3{0, 0, 1};
  bool operator==(const Matrix& o) const {
    return off == o.off && v1 == o.v1 && v2 == o.v2 && v3 == o.v3;
  }
  bool operator!=(const Matrix& o) const { return !(*this == o); }
};

template <typename T>
struct LIMIT {
  static constexpr T MIN = std::numeric_limits<T>::min();
  static constexpr T MAX = std::numeric_limits<T>::max();
};

constexpr Int32 NOTOK = -1;

// Object and list element types.
constexpr Int32 Oinstance = 5126;
constexpr Int32 Obase = 5155;
constexpr Int32 Onull = 5140;
constexpr Int32 Ocube = 5159;
constexpr Int32 Osphere = 5160;

// Parameters of the instance object.
constexpr Int32 INSTANCEOBJECT_LINK = 1001;
constexpr Int32 INSTANCEOBJECT_MODE = 1002;

// Data types.
constexpr Int32 DA_NIL = 0;
constexpr Int32 DA_CONTAINER = 1;
constexpr Int32 DTYPE_LONG = 15;
constexpr Int32 DA_LONG = 15;
constexpr Int32 DA_REAL = 19;
constexpr Int32 DA_STRING = 130;
constexpr Int32 DA_ALIASLINK = 133;

// Description container elements.
constexpr Int32 DESC_CYCLE = 14;

// Bits of an object's bit word.
constexpr Int32 BIT_ACTIVE = 2;

// Command state flags.
constexpr Int32 CMD_ENABLED = 0x40000000;

// Messages.
constexpr Int32 MSG_UPDATE = 5;

// Modifier keys (qualifier bits).
constexpr Int32 QSHIFT = 1;
constexpr Int32 QCTRL = 2;
constexpr Int32 QALT = 4;

// Input devices and channels, four-character codes.
constexpr Int32 BFM_INPUT_KEYBOARD = 0x6B657962;   // 'keyb'
constexpr Int32 BFM_INPUT_MOUSE = 0x6D6F7573;      // 'mous'
constexpr Int32 BFM_INPUT_CHANNEL = 0x69706361;    // 'ipca'
constexpr Int32 BFM_INPUT_MODIFIERS = 0x69706D6F;  // 'ipmo'
constexpr Int32 BFM_INPUT_QUALIFIER = 0x69707161;  // 'ipqa'
constexpr Int32 BFM_INPUT_MOUSELEFT = 1;

// Dialog layout flags.
constexpr Int32 BFV_TOP = 1;
constexpr Int32 BFV_SCALEFIT = 7;
constexpr Int32 BFH_LEFT = 8;
constexpr Int32 BFH_SCALEFIT = 56;
constexpr Int32 BFV_GRIDGROUP_EQUALCOLS = 1;

// Plugin info flags.
constexpr Int32 PLUGINFLAG_NONE = 0;

// Actions of the module entry point.
constexpr Int32 C4DPL_INIT_SYS = 1;
constexpr Int32 C4DPL_INIT = 2;
constexpr Int32 C4DPL_END = 3;
constexpr Int32 C4DPL_MESSAGE = 6;
constexpr Int32 C4DPL_ERROR = -1;
constexpr Int32 C4DPL_ERROR_VERSION = -3;

// The host's menu commands the module runs.
constexpr Int32 IDM_FRAME_OBJECTS = 12151;
constexpr Int32 IDM_FRAME_ELEMENTS = 13038;

#define GEMLITH_FLAG_OPERATORS(E)                                                    \
  constexpr E operator|(E a, E b) { return E(static_cast<Int32>(a) | static_cast<Int32>(b)); } \
  constexpr E operator&(E a, E b) { return E(static_cast<Int32>(a) & static_cast<Int32>(b)); }

enum class UNDOTYPE : Int32 {
  CHANGE = 40,
  CHANGE_SMALL = 42,
  NEWOBJ = 44,
  DELETEOBJ = 45,
  BITS = 48,
};

enum class GETACTIVEOBJECTFLAGS : Int32 {
  NONE = 0,
  CHILDREN = 1,
  SELECTIONORDER = 2,
};
GEMLITH_FLAG_OPERATORS(GETACTIVEOBJECTFLAGS)

enum class COPYFLAGS : Int32 {
  NONE = 0,
  NO_HIERARCHY = 4,
  RECURSIONCHECK = 0x4000,
};
GEMLITH_FLAG_OPERATORS(COPYFLAGS)

enum class DESCFLAGS_GET : Int32 { NONE = 0 };
enum class DESCFLAGS_SET : Int32 { NONE = 0 };

enum class DLG_TYPE : Int32 {
  MODAL = 10,
  ASYNC = 20,
};

enum class EVENT : Int32 { NONE = 0 };

#endif
