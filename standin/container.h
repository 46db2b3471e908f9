// Containers: ordered id → value lists, the host side of BaseContainer. Fills the container_*
// entries of the table.
//
// The handle the module gets is a GmContainer*, and its first member is the handle itself: the
// binding views a host-owned container as its own BaseContainer through that word. A container is
// therefore never moved or copied as an object; CopyContainer makes a new one.
#ifndef GEMLITH_STANDIN_CONTAINER_H
#define GEMLITH_STANDIN_CONTAINER_H

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gemlith_api.h"
#include "link.h"

namespace standin {

// A value as tests see it: a copy, containers deep, links by marker.
struct ValueData {
  int32_t type = GM_VALUE_NONE;  // GM_VALUE_*
  int32_t i32 = 0;
  double real = 0;
  std::string str;
  Marker marker = 0;
  std::vector<std::pair<int32_t, ValueData>> sub;  // GM_VALUE_CONTAINER: elements in order

  bool operator==(const ValueData& o) const;
  bool operator!=(const ValueData& o) const { return !(*this == o); }
};
using ContainerData = std::vector<std::pair<int32_t, ValueData>>;
std::string ToString(const ContainerData& c);

struct Value {
  int32_t type = GM_VALUE_NONE;
  int32_t i32 = 0;
  double real = 0;
  Marker marker = 0;
  std::string str;
  std::unique_ptr<GmContainer> sub;  // GM_VALUE_CONTAINER

  Value() = default;
  Value(Value&&) = default;
  Value& operator=(Value&&) = default;
  Value Copy() const;
};

}  // namespace standin

struct GmContainer {
  GmContainer* self;  // must stay the first member: the handle's first word is the handle
  std::vector<std::pair<int32_t, standin::Value>> elements;
  // The node whose data this is (at any depth), so that a link written into it reaches the host's
  // index of link holders; null for a container of no node.
  GmNode* owner = nullptr;

  GmContainer() : self(this) {}
  GmContainer(const GmContainer&) = delete;
  GmContainer& operator=(const GmContainer&) = delete;
};

namespace standin {

std::unique_ptr<GmContainer> CopyContainer(const GmContainer& src);
void AssignContainer(GmContainer& dst, const GmContainer& src);  // dst becomes a deep copy

const Value* FindElement(const GmContainer& bc, int32_t id);
Value* FindElement(GmContainer& bc, int32_t id);
// Replaces the element in place, or appends it.
void SetElement(GmContainer& bc, int32_t id, Value v);
bool RemoveElement(GmContainer& bc, int32_t id);

// Conversions at the C boundary. ToGm points into `v` (strings, sub-containers stay v's).
Value FromGm(const GmValue& in);
void ToGm(const Value& v, GmValue* out);

ContainerData ToData(const GmContainer& bc);
std::unique_ptr<GmContainer> FromData(const ContainerData& data);
ValueData ToData(const Value& v);
Value FromData(const ValueData& d);

// Calls `fn` for every link element at any depth (the marker may be changed in place).
template <class Fn>
void ForEachLink(GmContainer& bc, Fn&& fn) {
  for (auto& e : bc.elements) {
    if (e.second.type == GM_VALUE_LINK) fn(e.second.marker);
    if (e.second.sub) ForEachLink(*e.second.sub, fn);
  }
}
// Whether a link element to `m` (m = 0: to anything) lies in `bc` at any depth.
bool HasLink(const GmContainer& bc, Marker m);
// Makes `owner` the owner of the containers inside `bc` (not of bc itself); true when bc holds a
// link element at any depth.
bool AdoptInner(GmContainer& bc, GmNode* owner);

Value LongValue(int32_t i);
Value LinkValue(Marker m);

// The container_* entries.
void FillContainerApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_CONTAINER_H
