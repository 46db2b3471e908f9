// The few things gemlith-host asks of the operating system.
#ifndef GEMLITH_HOST_PLATFORM_H
#define GEMLITH_HOST_PLATFORM_H

#include <string>

namespace gemhost {

// The folder of the running executable ("" when it cannot be told).
std::string ExecutableDir();

// The module file's name on this system: gemlith_r21.so, .xdl64 on Windows, .xlib on macOS.
std::string DefaultModuleName();

// $XDG_CONFIG_HOME/gemlith-host/prefs.json, else ~/.config/gemlith-host/prefs.json; on Windows
// %APPDATA%\gemlith-host\prefs.json. "" when no folder can be found.
std::string DefaultPrefsPath();

// The reverse-domain identifier that a loaded module declares in its exported module record
// (g_maxon), or "" when it has none. The module must be loaded already.
std::string ModuleIdentifier(const std::string& module_path);

}  // namespace gemhost

#endif
