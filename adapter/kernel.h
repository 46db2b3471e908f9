// The kernel side a module needs: memory with the reference counter in front of every object,
// kernel strings, and the binding of a module's method tables. Every slot of every non-virtual
// interface is either one of these implementations or a named trap.
#ifndef GEMLITH_ADAPTER_KERNEL_H
#define GEMLITH_ADAPTER_KERNEL_H

#include <string>

#include "c4d.h"

namespace adapter {

// The kernel's ABI version the adapter speaks; a module built for another one is refused.
constexpr maxon::Int kAbiVersion = MAXON_API_ABI_VERSION;

// Checks the module's record (ABI version, at least one module in it). False with the reason.
bool CheckBinary(const maxon::Binary& binary, std::string* why);

// Fills every method-table slot of `binary`'s non-virtual interfaces: a slot the adapter provides
// gets its implementation (matched by name and signature hash), every other one a named trap.
// Returns the number of slots bound to an implementation.
int BindKernel(maxon::Binary& binary);

// The id of the binary's own module (the one that is no framework), or "".
std::string ModuleId(const maxon::Binary& binary);

// ---- kernel strings, for the classic tables ----

// A new kernel string (one reference) holding the UTF-8 text.
maxon::StringInterface* NewString(const char* utf8, size_t len);
// The string's text as UTF-8; a null string is empty.
std::string Utf8(const maxon::StringInterface* s);
inline std::string Utf8(const maxon::String& s) {
  return Utf8(*reinterpret_cast<const maxon::StringInterface* const*>(&s));
}
// Drops one reference; frees the string with the last one.
void Release(const maxon::StringInterface* s);
// Inserts `count` characters of `src` from `start` at `position` of `s`, which must not be shared.
void InsertInto(maxon::StringInterface* s, maxon::Int position, const maxon::StringInterface* src,
                maxon::Int start, maxon::Int count);
// One reference more or fewer; whether a string is shared.
void AddReference(const maxon::StringInterface* s);
bool IsShared(const maxon::StringInterface* s);
// A copy with one reference.
maxon::StringInterface* CopyString(const maxon::StringInterface* s);

// Live kernel allocations (memory blocks and strings): for the adapter's leak check.
long LiveAllocations();

}  // namespace adapter

#endif  // GEMLITH_ADAPTER_KERNEL_H
