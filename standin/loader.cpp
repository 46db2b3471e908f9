// Loading a module file and running the start protocol (see loader.h): the api_version entry of
// the table and Host's loading methods.
#include "loader.h"

#include <cstdint>

#include "api_table.h"
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

// ---- the table's entries ----

namespace {

int32_t ApiVersion() {
  NEED_HOST(0);
  return H().faults.api_version;
}

}  // namespace

void FillLoaderApi(GmHostApi* t) {
  t->api_version = ApiVersion;
}

// ---- Host: loading ----

namespace {

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// A module of the application's own interface expects the application's tables, not ours: it is
// driven through the adapter built beside it (build-plugin/gemlith_adapter.so), which is itself a
// module of ours and loads the file. Such a module's record (g_maxon) starts with the kernel's ABI
// version, where ours starts with a module id that is null until the module starts.
bool OpenAdapterFor(const std::string& path, ModuleFile* file, bool* adapted, std::string* error) {
  std::string why;
  const auto* record = static_cast<const intptr_t*>(file->Symbol("g_maxon", &why));
  *adapted = record && *record != 0;
  if (!*adapted) return true;
  file->Close();
  const std::string adapter = DirectoryOf(path) + "/" + kAdapterFile;
  if (file->Open(adapter, &why)) return true;
  *error = path + ": a module of the application's interface, driven through " + adapter +
           ", which cannot be loaded: " + why + " (scripts/check-plugin.sh builds it)";
  return false;
}

}  // namespace

LoadResult Host::LoadModuleFile(const std::string& path) {
  HostImpl& h = *impl_;
  LoadResult r;
  if (h.module_main) {
    r.error = path + ": a module is already loaded";
    return r;
  }
  std::string why;
  if (!h.module_file.Open(path, &why)) {
    r.error = path + ": cannot be loaded: " + why;
    h.loaded = r;
    return r;
  }
  if (!OpenAdapterFor(path, &h.module_file, &r.adapted, &r.error)) {
    h.loaded = r;
    return r;
  }
  auto main = reinterpret_cast<MainFn>(h.module_file.Symbol("c4d_main", &why));
  if (!main) {
    r.error = path + ": no entry point c4d_main: " + why;
    h.module_file.Close();
    h.loaded = r;
    return r;
  }
  h.res_path = DirectoryOf(path) + "/res";
  const bool adapted = r.adapted;
  r = RunStartProtocol(h, main, path);
  r.adapted = adapted;
  if (r.init_sys != 1) {
    h.module_main = nullptr;
    h.module_file.Close();
  }
  h.loaded = r;
  return r;
}

LoadResult Host::LoadLinkedModule(MainFn main, const std::string& module_path) {
  HostImpl& h = *impl_;
  LoadResult r;
  if (h.module_main) {
    r.error = module_path + ": a module is already loaded";
    return r;
  }
  if (!main) {
    r.error = module_path + ": no entry point c4d_main";
    h.loaded = r;
    return r;
  }
  h.res_path = h.options.res_path.empty() ? DirectoryOf(module_path) + "/res" : h.options.res_path;
  r = RunStartProtocol(h, main, module_path);
  if (r.init_sys != 1) h.module_main = nullptr;
  h.loaded = r;
  return r;
}

void Host::Unload() {
  HostImpl& h = *impl_;
  if (!h.module_main) return;
  if (h.loaded.init_sys == 1) h.module_main(kActionEnd, nullptr, nullptr, nullptr);
  h.commands.DestroyAll();
  h.module_main = nullptr;
  h.module_file.Close();
}

const LoadResult& Host::Loaded() const { return impl_->loaded; }

}  // namespace standin
