// Loader: opening a module file on Windows (LoadLibrary).
#ifdef _WIN32

#include <windows.h>

#include <filesystem>

#include "loader.h"

namespace standin {

namespace {

// The system's text for the last error, in UTF-8 like every other string of the host.
std::string LastErrorText() {
  DWORD code = GetLastError();
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = "error " + std::to_string(code);
  if (text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
      out.assign(n - 1, '\0');
      WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    }
    LocalFree(text);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace

bool ModuleFile::Open(const std::string& path, std::string* why) {
  Close();
  HMODULE h = LoadLibraryW(std::filesystem::u8path(path).c_str());
  if (!h) {
    *why = path + ": " + LastErrorText();
    return false;
  }
  handle_ = h;
  return true;
}

void* ModuleFile::Symbol(const char* name, std::string* why) const {
  if (!handle_) {
    *why = "no module file is open";
    return nullptr;
  }
  FARPROC p = GetProcAddress(static_cast<HMODULE>(handle_), name);
  if (!p) *why = std::string(name) + ": " + LastErrorText();
  return reinterpret_cast<void*>(p);
}

void ModuleFile::Close() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace standin

#endif  // _WIN32
