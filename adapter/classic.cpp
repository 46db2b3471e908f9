// The classic tables (see classic.h). The module calls these entries with its own objects; the
// adapter keeps no state of the application's beyond what a blob's contents need: everything else
// is the host's, through its table.
#include "classic.h"

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#include "c4d_bitmapfilterstruct.h"
#include "c4d_commandplugin.h"
#include "c4d_graphview_def.h"
#include "entries.h"
#include "kernel.h"
#include "traps.h"

namespace adapter {
namespace {

// ---- Filename: the blob holds a malloc'd UTF-8 path, or null for an empty name ----

char*& PathOf(const Filename* fn) {
  return *reinterpret_cast<char**>(const_cast<Filename*>(fn));
}
std::string PathString(const Filename* fn) { return fn && PathOf(fn) ? PathOf(fn) : ""; }
char* Dup(const std::string& s) { return s.empty() ? nullptr : strdup(s.c_str()); }

void FnInit(Filename* fn) { PathOf(fn) = nullptr; }
void FnFlush(Filename* fn) {
  std::free(PathOf(fn));
  PathOf(fn) = nullptr;
}
void FnCopyTo(const Filename* src, Filename* dst) {
  if (src == dst) return;
  char* copy = Dup(PathString(src));
  FnFlush(dst);
  PathOf(dst) = copy;
}
void FnSetCString(Filename* fn, const Char* str) { SetFilename(fn, str ? str : ""); }
void FnSetString(Filename* fn, const maxon::String& str) { SetFilename(fn, Utf8(str)); }
Bool FnCompare(const Filename* a, const Filename* b) { return PathString(a) == PathString(b); }
void FnAdd(Filename* dst, const Filename* src) {
  const std::string head = PathString(dst), tail = PathString(src);
  if (tail.empty()) return;
  SetFilename(dst, head.empty() ? tail : head.back() == '/' ? head + tail : head + "/" + tail);
}
FilenameValue FnGetDirectory(const Filename* fn) {
  const std::string p = PathString(fn);
  const size_t slash = p.find_last_of('/');
  return FilenameValue(Dup(slash == std::string::npos ? "" : slash == 0 ? "/" : p.substr(0, slash)));
}
FilenameValue FnGetFile(const Filename* fn) {
  const std::string p = PathString(fn);
  const size_t slash = p.find_last_of('/');
  return FilenameValue(Dup(slash == std::string::npos ? p : p.substr(slash + 1)));
}
StringValue FnGetString(const Filename* fn) {
  const std::string p = PathString(fn);
  return StringValue(NewString(p.data(), p.size()));
}
void FnClearSuffixComplete(Filename* fn) {
  const std::string p = PathString(fn);
  const size_t slash = p.find_last_of('/');
  const size_t dot = p.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot != std::string::npos) SetFilename(fn, p.substr(0, dot));
}

FilenameValue GeGetStartupPathImpl() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string dir = n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string("/");
  dir = dir.substr(0, dir.find_last_of('/'));
  return FilenameValue(Dup(dir.empty() ? "/" : dir));
}

// ---- resources: the host's resource, and the module's strings kept for as long as it lives ----

struct Resource {
  GmResource* res;
  std::map<Int32, maxon::StringInterface*> strings;  // a String is the pointer cell itself
};

LocalResource* LrAlloc(const Filename* path) {
  GmResource* res = Api()->resource_load(PathString(path).c_str());
  if (!res) return nullptr;
  return reinterpret_cast<LocalResource*>(new Resource{res, {}});
}
void LrFree(LocalResource* lr, Bool) {
  auto* r = reinterpret_cast<Resource*>(lr);
  if (!r) return;
  for (auto& s : r->strings) Release(s.second);
  Api()->resource_free(r->res);
  delete r;
}
const String& LrLoadString(LocalResource* lr, Int32 id) {
  auto* r = reinterpret_cast<Resource*>(lr);
  auto known = r->strings.find(id);
  if (known == r->strings.end()) {
    size_t len = 0;
    const char* s = Api()->resource_string(r->res, id, &len);
    known = r->strings.emplace(id, NewString(s ? s : "", s ? len : 0)).first;
  }
  return *reinterpret_cast<const String*>(&known->second);
}

// ---- bitmaps: the host's decoded image ----

struct Bitmap {
  GmBitmap* bmp = nullptr;
  std::string path;
};

BaseBitmap* BmAlloc() { return reinterpret_cast<BaseBitmap*>(new Bitmap()); }
void BmFree(BaseBitmap* bm) {
  auto* b = reinterpret_cast<Bitmap*>(bm);
  if (!b) return;
  if (b->bmp) Api()->bitmap_free(b->bmp);
  delete b;
}
IMAGERESULT BmInit2(BaseBitmap* bm, const Filename* name, Int32, Bool* ismovie) {
  auto* b = reinterpret_cast<Bitmap*>(bm);
  if (ismovie) *ismovie = false;
  if (b->bmp) Api()->bitmap_free(b->bmp);
  b->path = PathString(name);
  b->bmp = Api()->bitmap_load(b->path.c_str(), 1.0);
  return b->bmp ? IMAGERESULT::OK : IMAGERESULT::NOTEXISTING;
}

Bool BmSetBaseBitmapData(BaseBitmap* bm, Int32 id, const GeData& data) {
  auto* b = reinterpret_cast<Bitmap*>(bm);
  const GeDataView& v = View(&data);
  if (id == BASEBITMAP_DATA_GUIPIXELRATIO && v.type == DA_REAL && v.real != 1.0 && b->bmp) {
    GmBitmap* scaled = Api()->bitmap_load(b->path.c_str(), v.real);
    if (!scaled) return false;
    Api()->bitmap_free(b->bmp);
    b->bmp = scaled;
  }
  return true;
}

// ---- commands: the registration record, called through its member pointers ----

struct Command {
  COMMANDPLUGIN np;
  GmCommandCallbacks callbacks;
  CommandData* Data() const { return static_cast<CommandData*>(np.adr); }
};

GmBool CommandExecute(void* self, GmDoc* doc) {
  auto* c = static_cast<Command*>(self);
  return (c->Data()->*c->np.Execute)(reinterpret_cast<BaseDocument*>(doc), nullptr);
}
int32_t CommandGetState(void* self, GmDoc* doc) {
  auto* c = static_cast<Command*>(self);
  return (c->Data()->*c->np.GetState)(reinterpret_cast<BaseDocument*>(doc), nullptr);
}
GmBool CommandRestoreLayout(void* self, void* secret) {
  auto* c = static_cast<Command*>(self);
  return (c->Data()->*c->np.RestoreLayout)(secret);
}
void CommandDestroy(void* self) {
  auto* c = static_cast<Command*>(self);
  (c->np.adr->*c->np.Destructor)();
  delete c;
}

Bool GeRegisterPlugin(Int32 api_version, PLUGINTYPE type, Int32 id, const maxon::String& str,
                      void* data, Int32 datasize) {
  if (api_version != API_VERSION || type != PLUGINTYPE::COMMAND ||
      datasize != static_cast<Int32>(sizeof(COMMANDPLUGIN)) || !data) {
    std::fprintf(stderr,
                 "gemlith adapter: registration of %d refused: API version %d, type %d, record of "
                 "%d bytes (the adapter takes commands of API version %d, %zu-byte records)\n",
                 id, api_version, static_cast<int>(type), datasize, API_VERSION,
                 sizeof(COMMANDPLUGIN));
    return false;
  }
  auto* c = new Command();
  std::memcpy(&c->np, data, sizeof c->np);
  c->callbacks = GmCommandCallbacks{c, CommandExecute, CommandGetState, CommandRestoreLayout,
                                    CommandDestroy};
  const std::string name = Utf8(str);
  const std::string help = c->np.help ? Utf8(*c->np.help) : std::string();
  // The icon lives only as long as the registration call: the host takes what it needs now.
  const GmBitmap* icon = c->np.command_icon ? reinterpret_cast<Bitmap*>(c->np.command_icon)->bmp : nullptr;
  if (!Api()->register_command(id, name.c_str(), c->np.info, icon, help.c_str(), &c->callbacks)) {
    CommandDestroy(c);  // the host did not take the command over
    return false;
  }
  return true;
}

// ---- the whole interface ----

struct Tables {
#define TABLE(T, F) T F;
#define ENTRY(T, F, M)
#define FUNCTION(T, F)
#define LIBRARY(L)
#define LIBRARY_ENTRY(L, M)
#include "tables.inc"
#undef TABLE
#undef ENTRY
#undef FUNCTION
#undef LIBRARY
#undef LIBRARY_ENTRY
};

Tables g_tables;
OperatingSystem g_os;

// Every entry a named trap; the entries must fill each table exactly (else the list is stale).
void TrapEverything() {
  std::map<std::string, size_t> filled;
#define TABLE(T, F) g_os.F = &g_tables.F;
#define ENTRY(T, F, M)                                                              \
  static_assert(offsetof(T, M) + sizeof(T::M) <= sizeof(T), "an entry inside " #T); \
  Trap(g_tables.F.M, #T "." #M);                                                    \
  filled[#T] += sizeof(T::M);
#define FUNCTION(T, F) g_os.F = reinterpret_cast<T>(NamedTrap("OperatingSystem." #F));
#define LIBRARY(L)
#define LIBRARY_ENTRY(L, M)
#include "tables.inc"
#undef TABLE
#undef ENTRY
#undef FUNCTION
#undef LIBRARY
#undef LIBRARY_ENTRY
#define TABLE(T, F)                                                                          \
  if (filled[#T] != sizeof(T)) {                                                             \
    std::fprintf(stderr, "gemlith adapter: the entry list of %s does not fill it\n", #T);   \
    std::abort();                                                                            \
  }
#define ENTRY(T, F, M)
#define FUNCTION(T, F)
#define LIBRARY(L)
#define LIBRARY_ENTRY(L, M)
#include "tables.inc"
#undef TABLE
#undef ENTRY
#undef FUNCTION
#undef LIBRARY
#undef LIBRARY_ENTRY
}

void Implement() {
  OperatingSystem& os = g_os;
  os.Fn->Init = FnInit;
  os.Fn->Flush = FnFlush;
  os.Fn->CopyTo = FnCopyTo;
  os.Fn->SetCString = FnSetCString;
  os.Fn->SetString = FnSetString;
  os.Fn->Compare = FnCompare;
  os.Fn->Add = FnAdd;
  os.Fn->ClearSuffixComplete = FnClearSuffixComplete;
  SetByValue(os.Fn->GetDirectory, FnGetDirectory);
  SetByValue(os.Fn->GetFile, FnGetFile);
  SetByValue(os.Fn->GetString, FnGetString);
  SetByValue(os.Ge->GetStartupPath, GeGetStartupPathImpl);
  os.Ge->RegisterPlugin = GeRegisterPlugin;
  os.Lr->Alloc = LrAlloc;
  os.Lr->Free = LrFree;
  os.Lr->LoadString = LrLoadString;
  os.Bm->Alloc = BmAlloc;
  os.Bm->Free = BmFree;
  os.Bm->Init2 = BmInit2;
  os.Bm->SetBaseBitmapData = BmSetBaseBitmapData;
}

}  // namespace

namespace {
const GmHostApi* g_api = nullptr;
}  // namespace

const GmHostApi* Api() { return g_api; }

void Unsupported(const std::string& what) {
  std::fprintf(stderr, "gemlith adapter: the module called %s, which the adapter does not provide\n",
               what.c_str());
  std::fflush(stderr);
  std::abort();
}
void SetApi(const GmHostApi* api) { g_api = api; }

void SetFilename(Filename* fn, const std::string& path) {
  char* copy = Dup(path);
  std::free(PathOf(fn));
  PathOf(fn) = copy;
}

void FreeFilename(Filename* fn) { FnFlush(fn); }

OperatingSystem* BuildTables(const GmHostApi* api) {
  SetApi(api);
  static const bool built = [] {
    TrapEverything();
    Implement();
    ImplementScene(g_os);
    ImplementDialogs(g_os);
    return true;
  }();
  (void)built;
  g_os.version = api->api_version();
  return &g_os;
}

}  // namespace adapter
