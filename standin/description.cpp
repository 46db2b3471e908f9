// Parameter descriptions (see description.h): the description_* entries of the table.
#include "description.h"

#include "api_table.h"
#include "node.h"

namespace standin {

namespace {

Value StringValue(const std::string& s) {
  Value v;
  v.type = GM_VALUE_STRING;
  v.str = s;
  return v;
}

}  // namespace

bool LoadDescription(GmDescription* desc, int32_t type, bool with_cycle) {
  desc->parameters.clear();
  desc->dtypes.clear();
  if (!IsObjectType(type) || type == kObase) return false;
  if (type != kOinstance && type != kOinstanceDerived) return true;  // no parameters of interest

  auto link = std::make_unique<GmContainer>();
  SetElement(*link, kDescName, StringValue("Reference Object"));
  desc->parameters[kInstanceLink] = std::move(link);
  desc->dtypes[kInstanceLink] = GM_VALUE_LINK;

  auto mode = std::make_unique<GmContainer>();
  SetElement(*mode, kDescName, StringValue("Instance Mode"));
  if (with_cycle) {
    Value cycle;
    cycle.type = GM_VALUE_CONTAINER;
    cycle.sub = std::make_unique<GmContainer>();
    SetElement(*cycle.sub, 0, StringValue("Instance"));
    SetElement(*cycle.sub, 1, StringValue("Render instance"));
    SetElement(*cycle.sub, 2, StringValue("Multi-instance"));
    SetElement(*mode, kDescCycle, std::move(cycle));
  }
  desc->parameters[kInstanceMode] = std::move(mode);
  desc->dtypes[kInstanceMode] = GM_VALUE_LONG;
  return true;
}

// ---- the table's entries ----

namespace {

GmDescription* DescriptionAlloc() {
  NEED_HOST(nullptr);
  if (H().faults.Consume(Alloc::Description)) return nullptr;
  return new GmDescription;
}
void DescriptionFree(GmDescription* d) { delete d; }
GmBool DescriptionLoad(GmDescription* d, int32_t type) {
  NEED_HOST(0);
  Faults& faults = H().faults;
  if (!d || faults.Deliver(faults.description_load_fails)) return 0;
  return LoadDescription(d, type, !faults.Deliver(faults.description_no_cycle));
}
const GmContainer* DescriptionGetParameter(GmDescription* d, int32_t id, int32_t dtype, int32_t) {
  if (!d) return nullptr;
  auto it = d->parameters.find(id);
  if (it == d->parameters.end()) return nullptr;
  if (dtype != 0 && d->dtypes[id] != dtype) return nullptr;
  return it->second.get();
}

}  // namespace

void FillDescriptionApi(GmHostApi* t) {
  t->description_alloc = DescriptionAlloc;
  t->description_free = DescriptionFree;
  t->description_load = DescriptionLoad;
  t->description_get_parameter = DescriptionGetParameter;
}

}  // namespace standin
