// Basic types, vectors and matrices, limits, NOTOK.
#ifndef GEMLITH_GE_MATH_H
#define GEMLITH_GE_MATH_H

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
class LIMIT {
 public:
  static constexpr T MIN = std::numeric_limits<T>::min();
  static constexpr T MAX = std::numeric_limits<T>::max();
};

#define NOTOK -1

#endif
