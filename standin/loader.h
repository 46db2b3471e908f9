// Loading a module file and running the start protocol. Fills the api_version entry of the table.
#ifndef GEMLITH_STANDIN_LOADER_H
#define GEMLITH_STANDIN_LOADER_H

#include <cstdint>
#include <string>

#include "gemlith_api.h"

namespace standin {

constexpr int32_t kApiVersion = 21000;

// The module's entry point.
using MainFn = int32_t (*)(int32_t action, void* p1, void* p2, void* p3);

struct LoadResult {
  bool ok = false;              // loaded and all three answers were the expected ones
  bool loaded = false;          // the file was opened and c4d_main found
  int32_t init_sys = 0;         // answer to action 1
  int32_t message = 0;          // answer to action 6 / message 1
  int32_t start = 0;            // answer to action 2
  int32_t registered = 0;       // entries the host accepted
  std::string error;            // a clear reason when !ok
  bool adapted = false;         // a module of the application's interface, run through the adapter
};

// The adapter that drives a module of the application's interface, looked for beside the module.
constexpr const char* kAdapterFile = "gemlith_adapter.so";

// The platform part: open a shared library and find a symbol. Kept in its own source file per
// platform. Errors carry the system's own text.
class ModuleFile {
 public:
  ModuleFile() = default;
  ~ModuleFile() { Close(); }
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;

  bool Open(const std::string& path, std::string* why);
  void* Symbol(const char* name, std::string* why) const;
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

class HostImpl;

// Action 1 (p1 = the table, p3 = the core record), action 6 with message 1, action 2.
LoadResult RunStartProtocol(HostImpl& host, MainFn main, const std::string& module_path);

constexpr int32_t kActionInitSys = 1;
constexpr int32_t kActionInit = 2;
constexpr int32_t kActionEnd = 3;
constexpr int32_t kActionMessage = 6;
constexpr int32_t kErrorVersion = -3;

// api_version.
void FillLoaderApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_LOADER_H
