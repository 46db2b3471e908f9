// Host strings (UTF-8 text) and file names.
#ifndef GEMLITH_C4D_STRING_H
#define GEMLITH_C4D_STRING_H

#include <string>

#include "ge_types.h"

class String {
 public:
  String() = default;
  String(const char* s) : _s(s ? s : "") {}  // NOLINT: implicit like the host's own string
  String(std::string s) : _s(std::move(s)) {}  // NOLINT
  String(const char* s, size_t len) : _s(s ? std::string(s, len) : std::string()) {}

  // Plain decimal digits: no leading zeros, no fixed width.
  static String IntToString(Int64 v) { return String(std::to_string(v)); }

  Int GetLength() const { return static_cast<Int>(_s.size()); }
  bool IsEmpty() const { return _s.empty(); }
  // Inserts `str` before position `pos` (clamped to the end).
  void Insert(Int pos, const String& str) {
    if (pos < 0) pos = 0;
    if (pos > GetLength()) pos = GetLength();
    _s.insert(static_cast<size_t>(pos), str._s);
  }

  const std::string& GetStdString() const { return _s; }
  const char* GetCStr() const { return _s.c_str(); }

  String& operator+=(const String& o) { _s += o._s; return *this; }
  friend String operator+(String a, const String& b) { a += b; return a; }
  bool operator==(const String& o) const { return _s == o._s; }
  bool operator!=(const String& o) const { return _s != o._s; }

 private:
  std::string _s;
};

// A path; '+' joins with a separator.
class Filename {
 public:
  Filename() = default;
  Filename(const String& s) : _s(s) {}  // NOLINT
  Filename(const char* s) : _s(s) {}    // NOLINT
  const String& GetString() const { return _s; }
  bool IsPopulated() const { return !_s.IsEmpty(); }
  friend Filename operator+(const Filename& a, const Filename& b) {
    if (!a.IsPopulated()) return b;
    return Filename(a._s + String("/") + b._s);
  }

 private:
  String _s;
};

#endif
