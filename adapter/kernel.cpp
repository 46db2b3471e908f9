// The kernel side (see kernel.h): memory blocks, kernel strings and the method-table binder.
#include "kernel.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "maxon/stringconversion.h"
#include "traps.h"

namespace maxon {

// The kernel's view of a module's registration records (the class every record befriends).
class ObjectModel {
 public:
  static Int Abi(const Binary& b) { return b._abiVersion; }
  static const ModuleInfo* FirstModule(const Binary& b) { return b._modules; }
  static const ModuleInfo* Next(const ModuleInfo& m) { return m._next; }
  static const Char* Id(const ModuleInfo& m) { return m._super._super._id.GetCString(); }
  static bool IsFramework(const ModuleInfo& m) {
    return (m._super._super._flags & (EntityBase::FLAGS::FRAMEWORK | EntityBase::FLAGS::CORE)) !=
           EntityBase::FLAGS::NONE;
  }
  static EntityReference* FirstReference(const ModuleInfo& m) { return m._references; }
  static EntityReference* Next(const EntityReference& r) { return r._nextOfModule; }
  static EntityBase::TYPE Type(const EntityReference& r) { return r._super._type; }
  static const Char* Id(const EntityReference& r) { return r._super._id.GetCString(); }
  static void** Slots(const NonvirtualInterfaceReference& n) {
    return reinterpret_cast<void**>(n._mtable);
  }
  static const Char* MethodIds(const NonvirtualInterfaceReference& n) { return n._methodIds; }
  static Int MethodCount(const NonvirtualInterfaceReference& n) { return n._methodCount; }
};

}  // namespace maxon

namespace adapter {
namespace {

using maxon::Int;
using maxon::ObjectModel;
using maxon::StringInterface;

// ---- memory: every block carries a header in front of the object. The kernel's reference
// counter is the word right before the object (counting in steps of 16); the word before it is the
// block's finalizer, which releases what a kernel object owns besides its block. Blocks are
// 32-byte aligned. ----

constexpr size_t kHeader = 32;
using Finalizer = void (*)(void* object);

std::atomic<long> g_live{0};

Finalizer& FinalizerOf(void* object) {
  return *reinterpret_cast<Finalizer*>(static_cast<char*>(object) - 16);
}
std::atomic<maxon::UInt>& CounterOf(const void* object) {
  return *reinterpret_cast<std::atomic<maxon::UInt>*>(
      const_cast<char*>(static_cast<const char*>(object)) - 8);
}

void* AllocBlock(Int size, bool clear) {
  if (size < 0) return nullptr;
  const size_t body = (static_cast<size_t>(size) + 31) & ~size_t{31};
  void* base = aligned_alloc(32, kHeader + body);
  if (!base) {
    std::fprintf(stderr, "gemlith adapter: out of memory (%ld bytes)\n", static_cast<long>(size));
    std::abort();  // the kernel never reports a failure: the module would build error objects
  }
  std::memset(base, 0, clear ? kHeader + body : kHeader);
  ++g_live;
  return static_cast<char*>(base) + kHeader;
}

void FreeBlock(const void* data) {
  if (!data) return;
  void* object = const_cast<void*>(data);
  if (Finalizer f = FinalizerOf(object)) f(object);
  --g_live;
  std::free(static_cast<char*>(object) - kHeader);
}

void* SysAlloc(Int size, const maxon::SourceLocation&) { return AllocBlock(size, false); }
void* SysAllocClear(Int size, const maxon::SourceLocation&) { return AllocBlock(size, true); }
void SysFree(const void* data) { FreeBlock(data); }
void SysFreeWithDestructorI(void* object, maxon::DestructorPointer destruct) {
  if (!object) return;
  if (destruct) destruct(object);
  FreeBlock(object);
}
void SysConsoleOutput(const maxon::Char* s, const maxon::SourceLocation&) {
  std::fprintf(stderr, "%s", s ? s : "");
}

// ---- kernel strings: UTF-32 characters in a buffer the string owns ----

struct KString {
  char32_t* chars;
  Int len;
  Int cap;
};

KString& K(StringInterface* s) { return *reinterpret_cast<KString*>(s); }
const KString& K(const StringInterface* s) { return *reinterpret_cast<const KString*>(s); }

void FinalizeString(void* object) {
  std::free(reinterpret_cast<KString*>(object)->chars);
}

StringInterface* AllocString() {
  void* block = AllocBlock(sizeof(KString), true);
  FinalizerOf(block) = FinalizeString;
  return reinterpret_cast<StringInterface*>(block);
}

void Reserve(KString& k, Int len) {
  if (len <= k.cap) return;
  const Int cap = len < 16 ? 16 : len * 2;
  auto* grown = static_cast<char32_t*>(std::realloc(k.chars, sizeof(char32_t) * cap));
  if (!grown) std::abort();
  k.chars = grown;
  k.cap = cap;
}

void Splice(KString& k, Int position, const char32_t* src, Int count) {
  if (position < 0) position = 0;
  if (position > k.len) position = k.len;
  if (count <= 0) return;
  std::vector<char32_t> copy(src, src + count);  // src may lie inside k
  Reserve(k, k.len + count);
  std::memmove(k.chars + position + count, k.chars + position,
               sizeof(char32_t) * (k.len - position));
  std::memcpy(k.chars + position, copy.data(), sizeof(char32_t) * count);
  k.len += count;
}

std::vector<char32_t> Decode(const char* s, size_t n) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < n;) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= n) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}

void Encode(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The slots of net.maxon.interface.string the adapter provides.
StringInterface* StrAlloc(const maxon::SourceLocation&) { return AllocString(); }
StringInterface* StrAllocCopy(const maxon::SourceLocation&, const StringInterface& src) {
  StringInterface* s = AllocString();
  Splice(K(s), 0, K(&src).chars, K(&src).len);
  return s;
}
void StrFree(const StringInterface* s) { FreeBlock(s); }
Int StrGetLength(const StringInterface* s) { return s ? K(s).len : 0; }
maxon::Result<void> StrSetCString(StringInterface* s, const maxon::Char* buffer, Int count,
                                  const maxon::StringDecodingRef&) {
  const size_t n = count < 0 ? std::strlen(buffer) : static_cast<size_t>(count);
  const std::vector<char32_t> chars = Decode(buffer, n);
  K(s).len = 0;
  Splice(K(s), 0, chars.data(), static_cast<Int>(chars.size()));
  return maxon::OK;
}
maxon::Result<void> StrSetUtf32(StringInterface* s, const maxon::Utf32Char* buffer, Int count) {
  K(s).len = 0;
  Splice(K(s), 0, reinterpret_cast<const char32_t*>(buffer), count);
  return maxon::OK;
}
maxon::Result<void> StrAppend(StringInterface* s, const StringInterface* str) {
  if (str) Splice(K(s), K(s).len, K(str).chars, K(str).len);
  return maxon::OK;
}
maxon::Result<void> StrAppendUtf32(StringInterface* s, const maxon::Utf32Char* str, Int len) {
  Splice(K(s), K(s).len, reinterpret_cast<const char32_t*>(str), len);
  return maxon::OK;
}
maxon::Result<void> StrInsert(StringInterface* s, maxon::StringPosition position,
                              const StringInterface* str, maxon::StringPosition start,
                              maxon::StringCount count) {
  if (!str) return maxon::OK;
  const Int from = start.ResolvePosition(K(str).len);
  InsertInto(s, position.ResolvePosition(K(s).len), str, from, count.ResolvePosition(from, K(str).len) - from);
  return maxon::OK;
}
maxon::Utf32Char StrGetChar(const StringInterface* s, Int pos) {
  return s && pos >= 0 && pos < K(s).len ? static_cast<maxon::Utf32Char>(K(s).chars[pos]) : 0;
}
maxon::COMPARERESULT StrComparePart(const StringInterface* s, const StringInterface* str,
                                    maxon::STRINGCOMPARISON, maxon::StringPosition position,
                                    maxon::StringCount count) {
  const std::u32string a = s ? std::u32string(K(s).chars, K(s).len) : std::u32string();
  const std::u32string b = str ? std::u32string(K(str).chars, K(str).len) : std::u32string();
  const Int from = position.ResolvePosition(static_cast<Int>(a.size()));
  const Int to = count.ResolvePosition(from, static_cast<Int>(a.size()));
  const std::u32string part =
      from >= 0 && from <= to && to <= static_cast<Int>(a.size()) ? a.substr(from, to - from) : std::u32string();
  const int c = part.compare(b);
  return c < 0 ? maxon::COMPARERESULT::LESS
               : c > 0 ? maxon::COMPARERESULT::GREATER : maxon::COMPARERESULT::EQUAL;
}

// net.maxon.interface.stringconversion: decimal integers.
void ConvAppendInt(StringInterface* str, maxon::Int64 value, Int, const maxon::FormatStatement*) {
  const std::string digits = std::to_string(value);
  const std::vector<char32_t> chars = Decode(digits.data(), digits.size());
  Splice(K(str), K(str).len, chars.data(), static_cast<Int>(chars.size()));
}

// ---- the binder ----

struct Interface {
  void** slots;
  std::vector<std::string> names;  // "Name@hash", in slot order
};

std::vector<std::string> SlotNames(const maxon::NonvirtualInterfaceReference& n) {
  std::vector<std::string> names;
  const char* id = ObjectModel::MethodIds(n);
  for (Int i = 0; i < ObjectModel::MethodCount(n) && id; ++i) {
    names.emplace_back(id);
    id += names.back().size() + 1;
  }
  return names;
}

template <typename F>
void ForEachInterface(const maxon::Binary& binary, F f) {
  for (const maxon::ModuleInfo* m = ObjectModel::FirstModule(binary); m; m = ObjectModel::Next(*m)) {
    for (maxon::EntityReference* r = ObjectModel::FirstReference(*m); r; r = ObjectModel::Next(*r)) {
      if (ObjectModel::Type(*r) != maxon::EntityBase::TYPE::NONVIRTUAL_INTERFACE) continue;
      f(ObjectModel::Id(*r), *reinterpret_cast<maxon::NonvirtualInterfaceReference*>(r));
    }
  }
}

// The adapter's own tables (it is built from the same core framework): every slot a named trap,
// then the implementations above in their typed places, so the compiler checks each signature.
const std::map<std::string, Interface>& Kernel() {
  static const std::map<std::string, Interface> kernel = [] {
    std::map<std::string, Interface> k;
    ForEachInterface(maxon::g_maxon, [&](const char* iid, maxon::NonvirtualInterfaceReference& n) {
      Interface& i = k[iid];
      i.slots = ObjectModel::Slots(n);
      i.names = SlotNames(n);
      for (size_t s = 0; s < i.names.size(); ++s) {
        i.slots[s] = reinterpret_cast<void*>(NamedTrap("kernel " + std::string(iid) + " " + i.names[s]));
      }
    });
    auto& sys = maxon::System::MTable::_instance;
    sys._System_Alloc = SysAlloc;
    sys._System_AllocClear = SysAllocClear;
    sys._System_Free = SysFree;
    sys._System_FreeWithDestructorI = SysFreeWithDestructorI;
    sys._System__ConsoleOutput = SysConsoleOutput;
    auto& str = StringInterface::MTable::_instance;
    str._StringInterface_Alloc = StrAlloc;
    str._StringInterface_Alloc_1 = StrAllocCopy;
    str._StringInterface_Free = StrFree;
    str._StringInterface_GetLength = StrGetLength;
    str._StringInterface_SetCString = StrSetCString;
    str._StringInterface_SetUtf32 = StrSetUtf32;
    str._StringInterface_Append = StrAppend;
    str._StringInterface_Append_1 = StrAppendUtf32;
    str._StringInterface_Insert = StrInsert;
    str._StringInterface_GetChar = StrGetChar;
    str._StringInterface_ComparePart = StrComparePart;
    maxon::StringConversion::MTable::_instance._StringConversion_AppendInt = ConvAppendInt;
    return k;
  }();
  return kernel;
}

}  // namespace

bool CheckBinary(const maxon::Binary& binary, std::string* why) {
  const Int abi = ObjectModel::Abi(binary);
  if (abi != kAbiVersion) {
    *why = "built for kernel ABI version " + std::to_string(abi) + "; the adapter drives version " +
           std::to_string(kAbiVersion) + " only";
    return false;
  }
  if (!ObjectModel::FirstModule(binary)) {
    *why = "its module record lists no module";
    return false;
  }
  return true;
}

int BindKernel(maxon::Binary& binary) {
  const auto& kernel = Kernel();
  int bound = 0;
  ForEachInterface(binary, [&](const char* iid, maxon::NonvirtualInterfaceReference& n) {
    void** slots = ObjectModel::Slots(n);
    if (!slots) return;
    const std::vector<std::string> names = SlotNames(n);
    const auto own = kernel.find(iid);
    for (size_t s = 0; s < names.size(); ++s) {
      void* fn = nullptr;
      if (own != kernel.end()) {
        for (size_t o = 0; o < own->second.names.size(); ++o) {
          if (own->second.names[o] == names[s]) fn = own->second.slots[o];
        }
      }
      if (fn && !TrapName(fn)) ++bound;
      slots[s] = fn ? fn : reinterpret_cast<void*>(NamedTrap("kernel " + std::string(iid) + " " + names[s]));
    }
  });
  return bound;
}

maxon::StringInterface* NewString(const char* utf8, size_t len) {
  StringInterface* s = AllocString();
  const std::vector<char32_t> chars = Decode(utf8, len);
  Splice(K(s), 0, chars.data(), static_cast<Int>(chars.size()));
  CounterOf(s).store(16);
  return s;
}

std::string Utf8(const maxon::StringInterface* s) {
  std::string out;
  if (!s) return out;
  for (Int i = 0; i < K(s).len; ++i) Encode(K(s).chars[i], &out);
  return out;
}

void Release(const maxon::StringInterface* s) {
  if (s && CounterOf(s).fetch_sub(16) < 32) FreeBlock(s);
}

void AddReference(const maxon::StringInterface* s) {
  if (s) CounterOf(s).fetch_add(16);
}

bool IsShared(const maxon::StringInterface* s) { return s && CounterOf(s).load() >= 32; }

maxon::StringInterface* CopyString(const maxon::StringInterface* s) {
  StringInterface* copy = AllocString();
  if (s) Splice(K(copy), 0, K(s).chars, K(s).len);
  CounterOf(copy).store(16);
  return copy;
}

void InsertInto(maxon::StringInterface* s, Int position, const maxon::StringInterface* src,
                Int start, Int count) {
  if (!src) return;
  const Int len = K(src).len;
  if (start < 0) start = 0;
  if (start > len) start = len;
  if (count < 0 || count > len - start) count = len - start;
  Splice(K(s), position, K(src).chars + start, count);
}

std::string ModuleId(const maxon::Binary& binary) {
  for (const maxon::ModuleInfo* m = ObjectModel::FirstModule(binary); m; m = ObjectModel::Next(*m)) {
    if (!ObjectModel::IsFramework(*m) && ObjectModel::Id(*m)) return ObjectModel::Id(*m);
  }
  return "";
}

long LiveAllocations() { return g_live.load(); }

}  // namespace adapter
