// CommandData: a menu command. The host owns a registered command object and destroys it when it
// unloads its plugins.
#ifndef GEMLITH_C4D_COMMANDDATA_H
#define GEMLITH_C4D_COMMANDDATA_H

#include <cstring>
#include <new>
#include <utility>

#include "c4d_string.h"
#include "ge_types.h"

class BaseBitmap;
class BaseDocument;

class BaseData {
 public:
  virtual ~BaseData() = default;
};

class CommandData : public BaseData {
 public:
  virtual Bool Execute(BaseDocument* doc);
  // CMD_ENABLED, or 0 for a greyed entry. The default: always enabled.
  virtual Int32 GetState(BaseDocument* doc);
  virtual Bool RestoreLayout(void* secret);
};

// Registers a menu command. The host takes `dat` over when it accepts it; a refused or null `dat`
// yields false (a refused object is destroyed again here, so nothing leaks).
Bool RegisterCommandPlugin(Int32 id, const String& str, Int32 info, BaseBitmap* icon,
                           const String& help, CommandData* dat);

// The host SDK's object allocator: null when out of memory.
template <typename T, typename... Args>
T* NewObj(Args&&... args) {
  return new (std::nothrow) T(std::forward<Args>(args)...);
}

// Allocates zero-filled memory, then constructs.
template <typename T, typename... Args>
T* NewObjClear(Args&&... args) {
  void* mem = ::operator new(sizeof(T), std::nothrow);
  if (!mem) return nullptr;
  std::memset(mem, 0, sizeof(T));
  return ::new (mem) T(std::forward<Args>(args)...);
}

template <typename T>
void DeleteObj(T*& obj) {
  delete obj;
  obj = nullptr;
}

#endif
