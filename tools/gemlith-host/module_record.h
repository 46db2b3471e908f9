// The module's per-object record as gemlith-host presents it: a sub-container under the module's
// plugin id in an object's data, with the saved instance mode and the swap partner. The host keeps
// it as any other data; only this program (and the tests) give its elements a meaning.
#ifndef GEMLITH_HOST_MODULE_RECORD_H
#define GEMLITH_HOST_MODULE_RECORD_H

#include <cstdint>
#include <optional>

#include "standin/host.h"

namespace gemhost {

constexpr int32_t kRecordId = 1050043;     // the module's plugin id keys its record
constexpr int32_t kRecordSavedMode = 1;    // element: Int32
constexpr int32_t kRecordSwapPartner = 2;  // element: link

struct Record {
  std::optional<int32_t> saved_mode;           // element 1
  std::optional<standin::Marker> swap_partner;  // element 2 (0 = an empty link)
};

// The object's record, or nothing when its data holds no sub-container under kRecordId.
std::optional<Record> ReadRecord(const standin::Host& host, const GmNode* object);
// Replaces the object's record whole.
void WriteRecord(standin::Host& host, GmNode* object, const Record& record);

}  // namespace gemhost

#endif
