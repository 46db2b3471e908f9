// The module's resource (string tables) and its resource folder.
#ifndef GEMLITH_C4D_RESOURCE_H
#define GEMLITH_C4D_RESOURCE_H

#include <unordered_map>

#include "c4d_file.h"
#include "c4d_string.h"
#include "ge_math.h"

struct GmResource;

class GeResource {
 public:
  GeResource() = default;
  // Releasing is the end action's job (FreeResource); the host may be gone by the time a static
  // resource object is destroyed, so the destructor does not call it.
  ~GeResource() = default;
  GeResource(const GeResource&) = delete;
  GeResource& operator=(const GeResource&) = delete;

  // Loads the resource from the module's "res" folder; a second call returns the first call's
  // result without loading again. The host has no stop state, so `regardIsStopped` changes nothing.
  Bool Init();
  Bool Init(const Filename& path, Bool regardIsStopped = true);
  // The string with this id from the module's string table; an empty string while nothing is
  // loaded. (The binding's own: the reference stays valid until Free.)
  const String& LoadString(Int32 id);
  void Free();

 private:
  GmResource* _res = nullptr;
  bool _tried = false;
  bool _result = false;
  std::unordered_map<Int32, String> _strings;  // the strings handed out so far
};

// The module's "res" folder.
Filename GeGetPluginResourcePath();

// The module's resource, loaded by the module on C4DPL_INIT_SYS and freed by the entry point.
extern GeResource g_resource;

#endif
