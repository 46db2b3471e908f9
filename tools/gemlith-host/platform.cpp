#include "platform.h"

#include <cstdlib>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <dlfcn.h>
#include <mach-o/dyld.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace gemhost {

namespace {

// What the module exports as g_maxon: the core framework's record of the module.
struct ModuleRecord {
  const char* module_id;
  const void* core;
};

}  // namespace

std::string ExecutableDir() {
  std::filesystem::path exe;
#if defined(_WIN32)
  wchar_t buf[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  if (n == 0 || n == MAX_PATH) return "";
  exe = std::filesystem::path(std::wstring(buf, n));
#elif defined(__APPLE__)
  char buf[4096];
  uint32_t size = sizeof buf;
  if (_NSGetExecutablePath(buf, &size) != 0) return "";
  exe = buf;
#else
  std::error_code ec;
  exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "";
#endif
  std::error_code ec2;
  const auto canonical = std::filesystem::weakly_canonical(exe, ec2);
  return (ec2 ? exe : canonical).parent_path().string();
}

std::string DefaultModuleName() {
#if defined(_WIN32)
  return "gemlith_r21.xdl64";
#elif defined(__APPLE__)
  return "gemlith_r21.xlib";
#else
  return "gemlith_r21.so";
#endif
}

std::string DefaultPrefsPath() {
  std::filesystem::path base;
#if defined(_WIN32)
  // The user's roaming application data, where Windows programs keep their settings.
  if (const char* appdata = std::getenv("APPDATA"); appdata && *appdata) {
    base = appdata;
  } else {
    return "";
  }
#else
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".config";
  } else {
    return "";
  }
#endif
  return (base / "gemlith-host" / "prefs.json").string();
}

std::string ModuleIdentifier(const std::string& module_path) {
  const ModuleRecord* record = nullptr;
#if defined(_WIN32)
  HMODULE h = GetModuleHandleW(std::filesystem::path(module_path).wstring().c_str());
  if (!h) return "";
  record = reinterpret_cast<const ModuleRecord*>(GetProcAddress(h, "g_maxon"));
#else
  // The module is loaded already: RTLD_NOLOAD only finds it (and takes one more reference).
  void* h = dlopen(module_path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!h) return "";
  record = static_cast<const ModuleRecord*>(dlsym(h, "g_maxon"));
#endif
  std::string id = record && record->module_id ? record->module_id : "";
#if !defined(_WIN32)
  dlclose(h);
#endif
  return id;
}

}  // namespace gemhost
