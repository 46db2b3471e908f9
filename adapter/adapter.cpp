// The adapter's entry point. To the stand-in host it is a module like any other (c4d_main with the
// host's table); behind it, it loads the application's real module file, checks it, binds its
// kernel slots, hands it the classic tables and runs its start actions in the application's order.
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "c4d_plugin.h"
#include "classic.h"
#include "gemlith_api.h"
#include "kernel.h"

namespace adapter {
namespace {

using Main = Int32 (*)(Int32 action, void* p1, void* p2, void* p3);

// The module file and its entry point, for as long as the adapter is loaded.
struct Module {
  void* handle = nullptr;
  Main main = nullptr;
  std::string id;             // its own module's id
  Filename* path = nullptr;  // the path c4d_main keeps (8 bytes the application fills)
  alignas(8) char path_blob[sizeof(Filename)] = {};

  ~Module() {
    if (path) FreeFilename(path);
    if (handle) dlclose(handle);
  }
};

Module g_module;

Int32 Refuse(const std::string& path, const std::string& why) {
  std::fprintf(stderr, "gemlith adapter: %s: %s\n", path.c_str(), why.c_str());
  std::fflush(stderr);
  return C4DPL_ERROR;
}

// Opens the file and checks what it exports and which versions it speaks.
Int32 Open(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return Refuse(path, std::string("cannot be loaded: ") + dlerror());
  g_module.handle = handle;
  for (const char* name : {"c4d_main", "g_maxon", "g_CpuYieldDelegate"}) {
    if (!dlsym(handle, name)) {
      return Refuse(path, std::string("does not export ") + name +
                              ": not a module of the application's R21 interface");
    }
  }
  auto* binary = static_cast<maxon::Binary*>(dlsym(handle, "g_maxon"));
  std::string why;
  if (!CheckBinary(*binary, &why)) return Refuse(path, why);
  g_module.main = reinterpret_cast<Main>(dlsym(handle, "c4d_main"));
  const Int32 protocol = g_module.main(C4DPL_INIT_VERSION, nullptr, nullptr, nullptr);
  if (protocol != C4DPL_VERSION) {
    return Refuse(path, "speaks plugin protocol version " + std::to_string(protocol) +
                            "; the adapter speaks version " + std::to_string(C4DPL_VERSION));
  }
  BindKernel(*binary);
  g_module.id = ModuleId(*binary);
  return 1;
}

Int32 Start(void* p1, void* p3) {
  const auto* api = static_cast<const GmHostApi*>(p1);
  const auto* core = static_cast<const GmCoreInfo*>(p3);
  if (!api || api->table_version < GM_API_TABLE_VERSION ||
      api->table_size < static_cast<int32_t>(sizeof(GmHostApi))) {
    return C4DPL_ERROR_VERSION;
  }
  if (!core || !core->module_path) return C4DPL_ERROR_VERSION;
  const std::string path = core->module_path;
  if (!g_module.main) {
    const Int32 opened = Open(path);
    if (opened != 1) return opened;
  }
  OperatingSystem* os = BuildTables(api);
  if (!g_module.path) {
    g_module.path = reinterpret_cast<Filename*>(g_module.path_blob);
    SetFilename(g_module.path, path);
  }
  return g_module.main(C4DPL_INIT_SYS, os, nullptr, g_module.path);
}

}  // namespace
}  // namespace adapter

// The stand-in host's module entry: action 1 carries its table (p1) and the core record with the
// real module's path (p3); the other actions go to the real module as they are.
extern "C" __attribute__((visibility("default"))) Int32 c4d_main(Int32 action, void* p1, void* p2,
                                                                 void* p3) {
  using adapter::g_module;
  if (action == C4DPL_INIT_SYS) return adapter::Start(p1, p3);
  if (!g_module.main) return C4DPL_ERROR;
  return g_module.main(action, p1, p2, p3);
}

// The module's id, as the stand-in host reports it for its own modules.
extern "C" __attribute__((visibility("default"))) const char* gemlith_adapter_module_id() {
  return adapter::g_module.id.c_str();
}
