// Opening a module file on Windows (LoadLibrary).
#ifdef _WIN32

#include <windows.h>

#include "loader.h"

namespace standin {

namespace {

std::string LastErrorText() {
  DWORD code = GetLastError();
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = text ? text : ("error " + std::to_string(code));
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

std::wstring Widen(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
  return w;
}

}  // namespace

bool ModuleFile::Open(const std::string& path, std::string* why) {
  Close();
  HMODULE h = LoadLibraryW(Widen(path).c_str());
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
