// The GmHostApi table: every function the module can call. Each host concept fills its own part of
// it (the Fill*Api function its header declares); FillApiTable puts the parts together. The table
// functions are thin checks around the concept that does the work: misuse is recorded as a coding
// error and changes nothing. Included by the concepts' source files only.
#ifndef GEMLITH_STANDIN_API_TABLE_H
#define GEMLITH_STANDIN_API_TABLE_H

#include <string>

#include "gemlith_api.h"
#include "host_impl.h"

namespace standin {

// The host the table functions work on; valid after NEED_HOST.
inline HostImpl& H() { return *CurrentImpl(); }

// Guards: a host must exist, and handles must be the host's own.
#define NEED_HOST(fail) \
  if (!CurrentImpl()) return fail
#define NEED(cond, fail, what)     \
  if (!(cond)) {                   \
    H().CodingError(what);         \
    return fail;                   \
  }

// Whether `doc` is one of the host's documents; else a coding error naming the call `fn`.
bool KnownDoc(GmDoc* doc, const char* fn);

// The whole table, every concept's part filled.
void FillApiTable(GmHostApi* table);

}  // namespace standin

#endif  // GEMLITH_STANDIN_API_TABLE_H
