// Loading a module file and running the start protocol.
#ifndef GEMLITH_STANDIN_LOADER_H
#define GEMLITH_STANDIN_LOADER_H

#include <string>

#include "standin/host.h"

namespace standin {

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

}  // namespace standin

#endif  // GEMLITH_STANDIN_LOADER_H
