// Host strings (UTF-8 text).
#ifndef GEMLITH_C4D_STRING_H
#define GEMLITH_C4D_STRING_H

#include <string>

#include "ge_math.h"

class String {
 public:
  String() = default;
  String(const char* s) : _s(s ? s : "") {}  // NOLINT: implicit like the host's own string
  String(std::string s) : _s(std::move(s)) {}  // NOLINT
  String(const char* s, size_t len) : _s(s ? std::string(s, len) : std::string()) {}

  // Plain decimal digits: no leading zeros, no fixed width.
  static String IntToString(Int32 v) { return String(std::to_string(v)); }
  static String IntToString(Int64 v) { return String(std::to_string(v)); }

  Int GetLength() const { return static_cast<Int>(_s.size()); }
  bool IsEmpty() const { return _s.empty(); }

  const std::string& GetStdString() const { return _s; }
  const char* GetCStr() const { return _s.c_str(); }

  String& operator+=(const String& o) { _s += o._s; return *this; }
  friend String operator+(String a, const String& b) { a += b; return a; }
  bool operator==(const String& o) const { return _s == o._s; }
  bool operator!=(const String& o) const { return _s != o._s; }

 private:
  std::string _s;
};

#endif
