// Loader: opening a module file on POSIX systems (dlopen).
#ifndef _WIN32

#include <dlfcn.h>

#include "loader.h"

namespace standin {

bool ModuleFile::Open(const std::string& path, std::string* why) {
  Close();
  dlerror();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* e = dlerror();
    *why = e ? e : (path + ": cannot be opened");
    return false;
  }
  return true;
}

void* ModuleFile::Symbol(const char* name, std::string* why) const {
  if (!handle_) {
    *why = "no module file is open";
    return nullptr;
  }
  dlerror();
  void* sym = dlsym(handle_, name);
  if (!sym) {
    const char* e = dlerror();
    *why = e ? e : (std::string(name) + " not found");
  }
  return sym;
}

void ModuleFile::Close() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace standin

#endif  // _WIN32
