// The module's ids as every test folder names them: the plugin ids come from source/ids.h, the undo
// types from standin/host.h, the module record's ids from gemlith-host's module_record.h. Only the
// menu order is the tests' own: it is what the module's registration must give.
#ifndef GEMLITH_TESTS_SUPPORT_MODULE_IDS_H
#define GEMLITH_TESTS_SUPPORT_MODULE_IDS_H

#include <cstdint>

#include "ids.h"
#include "standin/host.h"

namespace gemlith_test {

// The ten menu entries (nine commands and the separator), in the order the module registers them.
constexpr int32_t kMenuOrder[] = {ID_GEMLITH_SELECT,        ID_GEMLITH_CREATE,
                                  ID_GEMLITH_SPLIT,         ID_GEMLITH_RENAME,
                                  ID_GEMLITH_FRAMEOBJECTS,  ID_GEMLITH_FRAMEELEMENTS,
                                  ID_GEMLITH_SWAP,          ID_GEMLITH_MAKEEDITABLE,
                                  ID_GEMLITH_SETTINGS,      ID_GEMLITH_SEPARATOR};

}  // namespace gemlith_test

#endif  // GEMLITH_TESTS_SUPPORT_MODULE_IDS_H
