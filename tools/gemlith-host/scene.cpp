#include "scene.h"

#include "module_record.h"

namespace gemhost {

namespace {

struct TypeNameEntry {
  const char* name;
  int32_t type;
};
constexpr TypeNameEntry kTypeNames[] = {
    {"null", kTypeNull},         {"cube", kTypeCube},
    {"sphere", kTypeSphere},     {"instance", kTypeInstance},
    {"instance-derived", kTypeInstanceDerived}};

}  // namespace

bool IsInstanceType(int32_t type) { return type == kTypeInstance || type == kTypeInstanceDerived; }

std::optional<std::string> NameOfType(int32_t type) {
  for (const TypeNameEntry& t : kTypeNames)
    if (t.type == type) return std::string(t.name);
  return std::nullopt;
}

std::optional<int32_t> TypeOfName(const std::string& name) {
  for (const TypeNameEntry& t : kTypeNames)
    if (name == t.name) return t.type;
  return std::nullopt;
}

std::string TypeName(int32_t type) {
  const std::optional<std::string> name = NameOfType(type);
  return name ? *name : std::to_string(type);
}

bool SameMatrix(const GmMatrix& a, const GmMatrix& b) {
  for (int i = 0; i < 3; ++i) {
    if (a.off[i] != b.off[i] || a.v1[i] != b.v1[i] || a.v2[i] != b.v2[i] || a.v3[i] != b.v3[i])
      return false;
  }
  return true;
}

bool IsReservedObjectDataId(int32_t id) {
  return id == standin::kInstanceLink || id == standin::kInstanceMode || id == kRecordId;
}

bool ObjectDesc::operator==(const ObjectDesc& o) const {
  return key == o.key && name == o.name && type == o.type && link == o.link && mode == o.mode &&
         SameMatrix(ml, o.ml) && bits == o.bits && record == o.record && tags == o.tags && data == o.data &&
         depth == o.depth;
}

}  // namespace gemhost
