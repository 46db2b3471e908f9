// Named traps: a function for every table entry and kernel slot the adapter does not provide.
// Called, it prints what the module called and aborts, so a module that reaches anything new fails
// at once with the entry's name instead of jumping to null.
#ifndef GEMLITH_ADAPTER_TRAPS_H
#define GEMLITH_ADAPTER_TRAPS_H

#include <string>

namespace adapter {

using TrapFn = void (*)();

// A trap that names `what` (for example "C4D_Dialog.AddGadget"). Aborts when none is left.
TrapFn NamedTrap(const std::string& what);

// The name a trap was made with, or null for any other address.
const char* TrapName(const void* fn);

}  // namespace adapter

#endif  // GEMLITH_ADAPTER_TRAPS_H
