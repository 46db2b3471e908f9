// Filename: a path; '+' joins with a separator.
#ifndef GEMLITH_C4D_FILE_H
#define GEMLITH_C4D_FILE_H

#include "c4d_string.h"

class Filename {
 public:
  Filename() = default;
  Filename(const String& str) : _s(str) {}  // NOLINT
  Filename(const char* str) : _s(str) {}    // NOLINT
  String GetString() const { return _s; }
  Bool IsPopulated() const { return !_s.IsEmpty(); }
  friend Filename operator+(const Filename& a, const Filename& b) {
    if (!a.IsPopulated()) return b;
    return Filename(a._s + String("/") + b._s);
  }

 private:
  String _s;
};

#endif
