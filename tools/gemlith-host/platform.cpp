#include "platform.h"

#include "standin/loader.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>  // CommandLineToArgvW
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

std::vector<std::string> Arguments(int argc, char** argv) {
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) throw std::runtime_error("the command line cannot be read");
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    // Characters UTF-16 cannot name (a lone surrogate) become U+FFFD.
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  LocalFree(wide);
  return args;
#else
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
}

Utf8Console::Utf8Console() {
#if defined(_WIN32)
  const UINT previous = GetConsoleOutputCP();  // 0 without a console
  if (previous != 0 && previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
    previous_code_page_ = previous;
#else
  (void)previous_code_page_;  // other systems' consoles take UTF-8 as they are
#endif
}

Utf8Console::~Utf8Console() {
#if defined(_WIN32)
  if (previous_code_page_ != 0) SetConsoleOutputCP(previous_code_page_);
#endif
}

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
  return (ec2 ? exe : canonical).parent_path().u8string();
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
  if (const wchar_t* appdata = _wgetenv(L"APPDATA"); appdata && *appdata) {
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
  return (base / "gemlith-host" / "prefs.json").u8string();
}

std::string ModuleIdentifier(const std::string& module_path, bool adapted) {
#if !defined(_WIN32)
  if (adapted) {  // the adapter knows the module's own id
    const std::filesystem::path adapter =
        std::filesystem::path(module_path).parent_path() / standin::kAdapterFile;
    void* a = dlopen(adapter.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!a) return "";
    auto id = reinterpret_cast<const char* (*)()>(dlsym(a, "gemlith_adapter_module_id"));
    std::string result = id ? id() : "";
    dlclose(a);
    return result;
  }
#else
  (void)adapted;
#endif
  const ModuleRecord* record = nullptr;
#if defined(_WIN32)
  HMODULE h = GetModuleHandleW(std::filesystem::u8path(module_path).c_str());
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
