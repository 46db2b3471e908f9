#include "host_scene.h"

#include <algorithm>

#include "input_error.h"
#include "module_record.h"

namespace gemhost {

using standin::Host;
using standin::Marker;

namespace {

// The key of what a stored marker resolves to in the document, or nothing when it is dead.
std::optional<std::string> LiveKey(Host& host, Marker marker, KeyMap& keys) {
  if (marker == 0) return std::nullopt;
  GmNode* node = host.Api()->link_resolve(marker, host.ActiveDocument(), 0);
  if (!node) return std::nullopt;
  return keys.KeyOf(Host::MarkerOf(node));
}

// The elements of a data container the format holds (links, Int32 values, sub-containers), in
// ascending id order; on an object, without the elements that have members of their own.
DataDesc CaptureData(Host& host, const standin::ContainerData& c, bool on_object, KeyMap& keys) {
  DataDesc data;
  for (const auto& [id, v] : c) {
    if (on_object && IsReservedObjectDataId(id)) continue;
    DataValue value;
    if (v.type == GM_VALUE_LINK) {
      value.kind = DataValue::kLink;
      value.link = LiveKey(host, v.marker, keys);
    } else if (v.type == GM_VALUE_LONG) {
      value.kind = DataValue::kInt;
      value.i = v.i32;
    } else if (v.type == GM_VALUE_CONTAINER) {
      value.kind = DataValue::kContainer;
      value.sub = CaptureData(host, v.sub, false, keys);
    } else {
      continue;
    }
    data.emplace_back(id, std::move(value));
  }
  std::sort(data.begin(), data.end(),
            [](const std::pair<int32_t, DataValue>& a, const std::pair<int32_t, DataValue>& b) {
              return a.first < b.first;
            });
  return data;
}

// The host's form of a scene's data elements, links by marker.
standin::ContainerData ToHostData(Host& host, const DataDesc& data, KeyMap& keys) {
  standin::ContainerData c;
  for (const auto& [id, v] : data) {
    standin::ValueData d;
    switch (v.kind) {
      case DataValue::kLink:
        d.type = GM_VALUE_LINK;
        d.marker = v.link ? *keys.MarkerOf(*v.link) : 0;
        break;
      case DataValue::kInt:
        d.type = GM_VALUE_LONG;
        d.i32 = v.i;
        break;
      case DataValue::kContainer:
        d.type = GM_VALUE_CONTAINER;
        d.sub = ToHostData(host, v.sub, keys);
        break;
    }
    c.emplace_back(id, std::move(d));
  }
  return c;
}

void SetData(Host& host, GmNode* node, const DataDesc& data, KeyMap& keys) {
  for (auto& [id, value] : ToHostData(host, data, keys)) host.SetDataElement(node, id, value);
}

ObjectDesc CaptureObject(Host& host, GmNode* node, size_t depth, KeyMap& keys) {
  ObjectDesc o;
  o.key = keys.KeyOf(Host::MarkerOf(node));
  o.name = host.Name(node);
  o.type = host.Type(node);
  if (IsInstanceType(o.type)) {
    o.link = LiveKey(host, host.LinkMarker(node), keys);
    o.mode = host.Mode(node);
  }
  o.ml = host.Matrix(node);
  o.bits = host.Bits(node) & ~standin::kBitActive;
  if (auto r = ReadRecord(host, node)) {
    RecordDesc rd;
    rd.saved_mode = r->saved_mode;
    rd.has_swap_partner = r->swap_partner.has_value();
    if (r->swap_partner) rd.swap_partner = LiveKey(host, *r->swap_partner, keys);
    o.record = rd;
  }
  for (GmNode* tag : host.Tags(node))
    o.tags.push_back({keys.KeyOf(Host::MarkerOf(tag)), host.Name(tag),
                      CaptureData(host, host.Data(tag), false, keys)});
  o.data = CaptureData(host, host.Data(node), true, keys);
  o.depth = depth;
  return o;
}

}  // namespace

void BuildScene(Host& host, const SceneDesc& scene, KeyMap& keys) {
  for (const ObjectDesc& o : scene.objects) {
    if (!o.key.empty()) keys.Reserve(o.key);
    for (const TagDesc& t : o.tags)
      if (!t.key.empty()) keys.Reserve(t.key);
  }
  std::vector<GmNode*> built;
  std::vector<std::vector<GmNode*>> built_tags;
  built.reserve(scene.objects.size());
  std::vector<GmNode*> parents;  // the last object built at each depth above the current one
  for (const ObjectDesc& o : scene.objects) {
    if (o.depth > parents.size())
      throw InputError("object " + Quote(o.key) + " lies more than one level below the object before it");
    parents.resize(o.depth);
    GmNode* node = host.AddObject(o.type, o.name, parents.empty() ? nullptr : parents.back());
    if (!node) throw InputError("the host refused to create an object of type " + TypeName(o.type));
    keys.Bind(Host::MarkerOf(node), o.key.empty() ? keys.Fresh("obj") : o.key);
    host.SetMatrix(node, o.ml);
    host.SetBits(node, o.bits & ~standin::kBitActive);
    if (IsInstanceType(o.type)) host.SetMode(node, o.mode);
    built_tags.emplace_back();
    for (const TagDesc& t : o.tags) {
      GmNode* tag = host.AddTag(node, t.name);
      keys.Bind(Host::MarkerOf(tag), t.key.empty() ? keys.Fresh("tag") : t.key);
      built_tags.back().push_back(tag);
    }
    built.push_back(node);
    parents.push_back(node);
  }
  // Links may point forward in the file, so they are set once every node exists.
  auto node_of = [&](const std::string& key) { return host.Find(*keys.MarkerOf(key)); };
  for (size_t i = 0; i < built.size(); ++i) {
    const ObjectDesc& desc = scene.objects[i];
    GmNode* node = built[i];
    if (IsInstanceType(desc.type)) host.SetLink(node, desc.link ? node_of(*desc.link) : nullptr);
    if (desc.record) {
      Record r;
      r.saved_mode = desc.record->saved_mode;
      if (desc.record->has_swap_partner)
        r.swap_partner = desc.record->swap_partner
                             ? Host::MarkerOf(node_of(*desc.record->swap_partner))
                             : Marker{0};
      WriteRecord(host, node, r);
    }
    SetData(host, node, desc.data, keys);
    for (size_t t = 0; t < desc.tags.size(); ++t) SetData(host, built_tags[i][t], desc.tags[t].data, keys);
  }
  std::vector<GmNode*> selection;
  for (const std::string& key : scene.selection) selection.push_back(node_of(key));
  host.Select(selection);
}

void AssignKeys(Host& host, KeyMap& keys) {
  for (GmNode* node : host.Walk()) {
    keys.KeyOf(Host::MarkerOf(node));
    for (GmNode* tag : host.Tags(node)) keys.KeyOf(Host::MarkerOf(tag));
  }
}

SceneDesc CaptureScene(Host& host, KeyMap& keys) {
  AssignKeys(host, keys);
  SceneDesc scene;
  const GmHostApi* api = host.Api();
  // Document order without recursion: down where there are children, else along, else up.
  size_t depth = 0;
  for (GmNode* n = api->doc_get_first_object(host.ActiveDocument()); n;) {
    scene.objects.push_back(CaptureObject(host, n, depth, keys));
    if (GmNode* down = api->node_get_down(n)) {
      n = down;
      ++depth;
      continue;
    }
    while (n && !api->node_get_next(n)) {
      n = depth > 0 ? api->node_get_up(n) : nullptr;
      if (depth > 0) --depth;
    }
    if (n) n = api->node_get_next(n);
  }
  for (GmNode* n : host.Selection()) scene.selection.push_back(keys.KeyOf(Host::MarkerOf(n)));
  return scene;
}

}  // namespace gemhost
