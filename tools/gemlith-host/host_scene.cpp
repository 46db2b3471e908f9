#include "host_scene.h"

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
    o.tags.push_back({keys.KeyOf(Host::MarkerOf(tag)), host.Name(tag)});
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
    for (const TagDesc& t : o.tags) {
      GmNode* tag = host.AddTag(node, t.name);
      keys.Bind(Host::MarkerOf(tag), t.key.empty() ? keys.Fresh("tag") : t.key);
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
