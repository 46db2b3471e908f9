// Parameter descriptions: the instance object's mode parameter and its cycle of modes. Fills the
// description_* entries of the table.
#ifndef GEMLITH_STANDIN_DESCRIPTION_H
#define GEMLITH_STANDIN_DESCRIPTION_H

#include <map>
#include <memory>

#include "container.h"

struct GmDescription {
  std::map<int32_t, std::unique_ptr<GmContainer>> parameters;  // parameter id → description
  std::map<int32_t, int32_t> dtypes;                             // parameter id → data type
};

namespace standin {

constexpr int32_t kDescCycle = 14;
constexpr int32_t kDescName = 1;

// Fills `desc` with the parameters of `type`; false for a type the host does not know.
bool LoadDescription(GmDescription* desc, int32_t type, bool with_cycle);

// description_alloc, description_free, description_load, description_get_parameter.
void FillDescriptionApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_DESCRIPTION_H
