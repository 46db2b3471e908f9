// The few things gemlith-host asks of the operating system.
#ifndef GEMLITH_HOST_PLATFORM_H
#define GEMLITH_HOST_PLATFORM_H

#include <string>
#include <vector>

namespace gemhost {

// Every string the program handles is UTF-8: text and file names alike. File names are opened
// through std::filesystem::u8path, and paths made by the system come back through u8string().

// The program's arguments after its name, in UTF-8. Windows hands `argv` over in the ANSI code
// page, which holds few of the characters a name may have: there they come from the wide command
// line instead.
std::vector<std::string> Arguments(int argc, char** argv);

// While it lives, the console shows the program's UTF-8 output as text (Windows; other systems'
// terminals do already). The console's own setting is put back at the end.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  unsigned previous_code_page_ = 0;  // 0: nothing to put back
};

// The folder of the running executable ("" when it cannot be told).
std::string ExecutableDir();

// The module file's name on this system: gemlith_r21.so, .xdl64 on Windows, .xlib on macOS.
std::string DefaultModuleName();

// $XDG_CONFIG_HOME/gemlith-host/prefs.json, else ~/.config/gemlith-host/prefs.json; on Windows
// %APPDATA%\gemlith-host\prefs.json. "" when no folder can be found.
std::string DefaultPrefsPath();

// The reverse-domain identifier that a loaded module declares in its exported module record
// (g_maxon), or "" when it has none; for a module run through the adapter (`adapted`), the id the
// adapter read from the module. The module must be loaded already.
std::string ModuleIdentifier(const std::string& module_path, bool adapted);

}  // namespace gemhost

#endif
