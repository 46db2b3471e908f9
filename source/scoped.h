// Small guards that make "close the undo group / free the array on every path" impossible to miss.
#ifndef GEMLITH_SCOPED_H
#define GEMLITH_SCOPED_H

#include "c4d.h"

// Opens an undo group on construction and closes it when the scope ends; with no document, none.
class UndoGroup {
 public:
  explicit UndoGroup(BaseDocument* doc) : _doc(doc) {
    if (_doc) _doc->StartUndo();
  }
  ~UndoGroup() {
    if (_doc) _doc->EndUndo();
  }
  UndoGroup(const UndoGroup&) = delete;
  UndoGroup& operator=(const UndoGroup&) = delete;

 private:
  BaseDocument* _doc;
};

// Owns an AtomArray allocated from the host; frees it when the scope ends.
class ScopedAtomArray {
 public:
  // `allocate` false: an empty guard, for a list that a run needs only in some cases.
  explicit ScopedAtomArray(bool allocate = true) : _arr(allocate ? AtomArray::Alloc() : nullptr) {}
  ~ScopedAtomArray() { AtomArray::Free(_arr); }
  ScopedAtomArray(const ScopedAtomArray&) = delete;
  ScopedAtomArray& operator=(const ScopedAtomArray&) = delete;

  explicit operator bool() const { return _arr != nullptr; }
  AtomArray* get() const { return _arr; }
  AtomArray& operator*() const { return *_arr; }
  AtomArray* operator->() const { return _arr; }

 private:
  AtomArray* _arr;
};

#endif
