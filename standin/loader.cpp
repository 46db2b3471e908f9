#include "loader.h"

#include <cstdint>

#include "host_impl.h"

namespace standin {

LoadResult RunStartProtocol(HostImpl& host, MainFn main, const std::string& module_path) {
  LoadResult r;
  r.loaded = true;
  host.module_main = main;
  host.module_path = module_path;
  host.core_info.size = static_cast<int32_t>(sizeof(GmCoreInfo));
  host.core_info.module_path = host.module_path.c_str();
  void* table = const_cast<GmHostApi*>(&host.table);
  void* core = host.faults.p3_null ? nullptr : &host.core_info;

  r.init_sys = main(kActionInitSys, table, nullptr, core);
  if (r.init_sys != 1) {
    r.error = module_path + ": the module refused to start: action 1 answered " +
              std::to_string(r.init_sys);
    if (r.init_sys == kErrorVersion) r.error += " (host API version too old or core record missing)";
    return r;
  }

  host.last_resource_error.clear();
  r.message = main(kActionMessage, reinterpret_cast<void*>(static_cast<intptr_t>(1)), nullptr,
                   nullptr);
  const size_t before = host.commands.Entries().size();
  r.start = main(kActionInit, nullptr, nullptr, nullptr);
  r.registered = static_cast<int32_t>(host.commands.Entries().size() - before);

  std::string error;
  if (r.message != 1) {
    error = "message 1 answered " + std::to_string(r.message) + ": the module's resource was not loaded";
    if (!host.last_resource_error.empty()) error += " (" + host.last_resource_error + ")";
  }
  if (r.start != 1) {
    if (!error.empty()) error += "; ";
    error += "registration answered " + std::to_string(r.start) + " after " +
             std::to_string(r.registered) + " entries";
  }
  r.ok = error.empty();
  if (!r.ok) r.error = module_path + ": " + error;
  return r;
}

}  // namespace standin
