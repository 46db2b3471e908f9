// The application's classic interface tables (OperatingSystem), as the adapter presents them to a
// module: every entry the module's code uses forwards to the host's table (GmHostApi); every other
// entry is a named trap.
#ifndef GEMLITH_ADAPTER_CLASSIC_H
#define GEMLITH_ADAPTER_CLASSIC_H

#include <string>

#include "c4d.h"
#include "gemlith_api.h"

namespace adapter {

// The tables for a host; built once, every entry an implementation or a trap.
OperatingSystem* BuildTables(const GmHostApi* api);

// A classic Filename blob holding `path` (the module's own Filename objects are 8 bytes whose
// contents the application defines); FreeFilename releases what it holds.
void SetFilename(Filename* fn, const std::string& path);
void FreeFilename(Filename* fn);

}  // namespace adapter

#endif  // GEMLITH_ADAPTER_CLASSIC_H
