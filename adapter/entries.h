// What the adapter's table entries share: the host's table, how an entry is put in its slot, and
// the application's value layouts the module writes itself. Included by the entries' files only.
#ifndef GEMLITH_ADAPTER_ENTRIES_H
#define GEMLITH_ADAPTER_ENTRIES_H

#include <cstring>
#include <string>

#include "c4d.h"
#include "gemlith_api.h"
#include "traps.h"

namespace adapter {

// The host's table, set when the tables are built.
const GmHostApi* Api();
void SetApi(const GmHostApi* api);

// A GeData returned by value (an entry's answer): its public layout, empty or an Int32. The copy
// constructor and destructor are user-provided, so the value is returned in memory, as the
// application's GeData is.
struct GeDataValue {
  Int32 type;
  Int32 dummy;
  Int64 value;
  GeDataValue() : type(DA_NIL), dummy(0), value(0) {}
  explicit GeDataValue(Int64 v) : type(DA_LONG), dummy(0), value(v) {}
  GeDataValue(const GeDataValue& o) : type(o.type), dummy(o.dummy), value(o.value) {}
  ~GeDataValue() {}
};
static_assert(sizeof(GeDataValue) == sizeof(GeData), "GeData's public layout");

// ---- filling a table's slot ----

// A pointer to a member function is {function address, 0} on Linux (Itanium ABI); a host entry is a
// plain function whose first parameter is the object (`this`), after the hidden result pointer when
// it returns a class by value, exactly where a member function has them.
template <typename Member, typename Fn>
inline void SetMemberRaw(Member& slot, Fn* fn) {
  static_assert(sizeof(Member) == 2 * sizeof(void*), "a Linux pointer to member function");
  const void* words[2] = {reinterpret_cast<const void*>(fn), nullptr};
  std::memcpy(&slot, words, sizeof slot);
}

template <typename M>
struct AsFunction;
template <typename R, typename C, typename... A>
struct AsFunction<R (C::*)(A...)> {
  using type = R(C*, A...);
};
template <typename R, typename C, typename... A>
struct AsFunction<R (C::*)(A...) const> {
  using type = R(const C*, A...);
};

// Checked: the plain function has the member's signature with the object in front.
template <typename Member>
inline void SetMember(Member& slot, typename AsFunction<Member>::type* fn) {
  SetMemberRaw(slot, fn);
}

// Entries that return String, Filename or GeData by value: the host side returns a look-alike
// with the same size and the same calling convention (a class with its own copy constructor and
// destructor, so it comes back through the hidden result pointer), handing the module's object
// its contents.
template <typename Fn, typename Impl>
inline void SetByValue(Fn& slot, Impl* impl) {
  static_assert(sizeof slot == sizeof impl, "plain function pointers");
  std::memcpy(&slot, &impl, sizeof slot);
}

// Traps by kind of entry: member and plain functions trap by name; a data entry stays null.
template <typename T>
inline void Trap(T& slot, const char* name, std::true_type /*member*/, std::false_type) {
  SetMemberRaw(slot, NamedTrap(name));
}
template <typename T>
inline void Trap(T& slot, const char* name, std::false_type, std::true_type /*function*/) {
  slot = reinterpret_cast<T>(NamedTrap(name));
}
template <typename T>
inline void Trap(T& slot, const char*, std::false_type, std::false_type) {
  slot = nullptr;
}
template <typename T>
inline void Trap(T& slot, const char* name) {
  using IsFunction = std::integral_constant<
      bool, std::is_pointer<T>::value && std::is_function<std::remove_pointer_t<T>>::value>;
  Trap(slot, name, std::is_member_function_pointer<T>(), IsFunction());
}

// ---- look-alikes for by-value results ----

struct FilenameValue {
  char* path;
  explicit FilenameValue(char* p) : path(p) {}
  FilenameValue(const FilenameValue& o) : path(o.path) {}
  ~FilenameValue() {}  // the module's Filename takes the path over
};
struct StringValue {
  maxon::StringInterface* s;
  explicit StringValue(maxon::StringInterface* p) : s(p) {}
  StringValue(const StringValue& o) : s(o.s) {}
  ~StringValue() {}  // the module's String takes the reference over
};
static_assert(sizeof(FilenameValue) == sizeof(Filename), "a Filename is one word");
static_assert(sizeof(StringValue) == sizeof(String), "a String is one word");

// GeData has a public layout: its type, then one word of value.
struct GeDataView {
  Int32 type;
  Int32 dummy;
  union {
    Int32 i32;
    Float real;
    void* ptr;
    Int64 i64;
  };
};
static_assert(sizeof(GeDataView) == sizeof(GeData), "GeData's public layout");
inline GeDataView& View(GeData* d) { return *reinterpret_cast<GeDataView*>(d); }
inline const GeDataView& View(const GeData* d) { return *reinterpret_cast<const GeDataView*>(d); }


// The scene's entries: atoms, list nodes, objects, documents, containers, links, values, the
// description library.
void ImplementScene(OperatingSystem& os);
// The dialogs' entries.
void ImplementDialogs(OperatingSystem& os);

// Aborts naming an entry (or a use of one) the adapter does not provide.
[[noreturn]] void Unsupported(const std::string& what);

// ---- containers: a module-made BaseContainer holds the host's container in its first word and
// its id in the second; a host-owned one is the host's container itself (first word = itself) ----

struct Blob {
  GmContainer* handle;
  Int id;
};

// The host's container of a BaseContainer (made anew after FlushAll).
GmContainer* Handle(const BaseContainer* bc);
Int32 BcGetId(const BaseContainer* bc);
Int32 BcGetInt32(const BaseContainer* bc, Int32 id, Int32 preset);

// Makes the module's GeData hold the host's value (copies of strings and containers).
void FromValue(const GmValue& value, GeData* data);

}  // namespace adapter

#endif  // GEMLITH_ADAPTER_ENTRIES_H
