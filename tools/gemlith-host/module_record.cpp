#include "module_record.h"

namespace gemhost {

std::optional<Record> ReadRecord(const standin::Host& host, const GmNode* object) {
  for (const auto& [id, value] : host.Data(object)) {
    if (id != kRecordId) continue;
    if (value.type != GM_VALUE_CONTAINER) return std::nullopt;
    Record r;
    for (const auto& [element, v] : value.sub) {
      if (element == kRecordSavedMode && v.type == GM_VALUE_LONG && !r.saved_mode)
        r.saved_mode = v.i32;
      if (element == kRecordSwapPartner && v.type == GM_VALUE_LINK && !r.swap_partner)
        r.swap_partner = v.marker;
    }
    return r;
  }
  return std::nullopt;
}

void WriteRecord(standin::Host& host, GmNode* object, const Record& record) {
  standin::ValueData sub;
  sub.type = GM_VALUE_CONTAINER;
  if (record.saved_mode) {
    standin::ValueData mode;
    mode.type = GM_VALUE_LONG;
    mode.i32 = *record.saved_mode;
    sub.sub.emplace_back(kRecordSavedMode, mode);
  }
  if (record.swap_partner) {
    standin::ValueData link;
    link.type = GM_VALUE_LINK;
    link.marker = *record.swap_partner;
    sub.sub.emplace_back(kRecordSwapPartner, link);
  }
  host.SetDataElement(object, kRecordId, sub);
}

}  // namespace gemhost
