// Whole-scene snapshots (see snapshot.h), and Host::Capture and Host::TreeText that take them.
#include "snapshot.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <unordered_map>

#include "host_impl.h"

namespace standin {

namespace {

std::string MatrixText(const GmMatrix& m) {
  std::ostringstream os;
  auto v = [&](const double* a) { os << '(' << a[0] << ' ' << a[1] << ' ' << a[2] << ')'; };
  os << "off";
  v(m.off);
  os << " v1";
  v(m.v1);
  os << " v2";
  v(m.v2);
  os << " v3";
  v(m.v3);
  return os.str();
}

std::string TypeName(int32_t type) {
  switch (type) {
    case kOnull: return "null";
    case kOcube: return "cube";
    case kOsphere: return "sphere";
    case kOinstance: return "instance";
    case kOinstanceDerived: return "instance-derived";
    default: return std::to_string(type);
  }
}

std::string Who(const ObjectSnapshot& o) {
  return "#" + std::to_string(o.marker) + " \"" + o.name + "\"";
}

std::string TagsText(const std::vector<TagSnapshot>& tags) {
  std::string s = "[";
  for (size_t i = 0; i < tags.size(); ++i) {
    if (i) s += ", ";
    s += "#" + std::to_string(tags[i].marker) + " \"" + tags[i].name + "\"";
    if (!tags[i].data.empty()) s += " " + ToString(tags[i].data);
  }
  return s + "]";
}

std::string Line(const ObjectSnapshot& o) {
  std::ostringstream os;
  os << Who(o) << " " << TypeName(o.type) << " parent #" << o.parent << " index " << o.index
     << " bits " << o.bits;
  if (o.selection_rank >= 0) os << " selected " << o.selection_rank;
  if (o.type == kOinstance || o.type == kOinstanceDerived)
    os << " link #" << o.link << " mode " << o.mode;
  os << " ml " << MatrixText(o.ml);
  if (!o.data.empty()) os << " data " << ToString(o.data);
  if (!o.tags.empty()) os << " tags " << TagsText(o.tags);
  return os.str();
}

}  // namespace

bool ObjectSnapshot::operator==(const ObjectSnapshot& o) const {
  return marker == o.marker && type == o.type && name == o.name && parent == o.parent &&
         index == o.index && bits == o.bits && selection_rank == o.selection_rank && ml == o.ml &&
         link == o.link && mode == o.mode && data == o.data && tags == o.tags;
}

SceneSnapshot Host::Capture(GmDoc* doc) const {
  if (!doc) doc = impl_->Active();
  SceneSnapshot s;
  std::unordered_map<const GmNode*, int32_t> rank;
  for (GmNode* n : ActiveObjects(*impl_, doc, kActiveChildren | kActiveSelectionOrder))
    rank.emplace(n, static_cast<int32_t>(rank.size()));
  for (GmNode* n : WalkDocument(doc)) {
    ObjectSnapshot o;
    o.marker = n->marker;
    o.type = n->type;
    o.name = n->name;
    o.parent = n->up ? n->up->marker : 0;
    o.index = IndexAmongSiblings(n);
    o.bits = n->bits;
    auto it = rank.find(n);
    o.selection_rank = it == rank.end() ? -1 : it->second;
    o.ml = n->ml;
    o.link = n->link;
    o.mode = n->mode;
    if (n->data) o.data = ToData(*n->data);
    for (const GmNode* t : n->tags)
      o.tags.push_back(TagSnapshot{t->marker, t->name, t->data ? ToData(*t->data) : ContainerData{}});
    s.objects.push_back(std::move(o));
  }
  return s;
}

std::string ToString(const SceneSnapshot& s) {
  std::ostringstream os;
  for (const auto& o : s.objects) os << Line(o) << "\n";
  return os.str();
}

std::string Diff(const SceneSnapshot& before, const SceneSnapshot& after) {
  if (before == after) return "";
  std::ostringstream os;
  std::map<Marker, const ObjectSnapshot*> a, b;
  for (const auto& o : before.objects) a[o.marker] = &o;
  for (const auto& o : after.objects) b[o.marker] = &o;
  for (const auto& o : before.objects)
    if (!b.count(o.marker)) os << "- gone: " << Line(o) << "\n";
  for (const auto& o : after.objects)
    if (!a.count(o.marker)) os << "+ new: " << Line(o) << "\n";
  for (const auto& o : before.objects) {
    auto it = b.find(o.marker);
    if (it == b.end() || *it->second == o) continue;
    const ObjectSnapshot& n = *it->second;
    os << "~ " << Who(o) << ":";
    if (o.type != n.type) os << " type " << TypeName(o.type) << " -> " << TypeName(n.type) << ";";
    if (o.name != n.name) os << " name \"" << o.name << "\" -> \"" << n.name << "\";";
    if (o.parent != n.parent) os << " parent #" << o.parent << " -> #" << n.parent << ";";
    if (o.index != n.index) os << " index " << o.index << " -> " << n.index << ";";
    if (o.bits != n.bits) os << " bits " << o.bits << " -> " << n.bits << ";";
    if (o.selection_rank != n.selection_rank)
      os << " selection " << o.selection_rank << " -> " << n.selection_rank << ";";
    if (o.ml != n.ml) os << " ml " << MatrixText(o.ml) << " -> " << MatrixText(n.ml) << ";";
    if (o.link != n.link) os << " link #" << o.link << " -> #" << n.link << ";";
    if (o.mode != n.mode) os << " mode " << o.mode << " -> " << n.mode << ";";
    if (o.data != n.data) os << " data " << ToString(o.data) << " -> " << ToString(n.data) << ";";
    if (!(o.tags == n.tags)) os << " tags " << TagsText(o.tags) << " -> " << TagsText(n.tags) << ";";
    os << "\n";
  }
  std::vector<Marker> order_a, order_b;
  for (const auto& o : before.objects)
    if (b.count(o.marker)) order_a.push_back(o.marker);
  for (const auto& o : after.objects)
    if (a.count(o.marker)) order_b.push_back(o.marker);
  if (order_a != order_b) os << "~ document order of the common objects differs\n";
  return os.str();
}

std::string Host::TreeText(GmDoc* doc) const {
  if (!doc) doc = impl_->Active();
  std::ostringstream os;
  std::vector<const GmNode*> path;  // the ancestors of the current node
  for (GmNode* n : WalkDocument(doc)) {
    while (!path.empty() && path.back() != n->up) path.pop_back();
    const size_t depth = path.size();
    path.push_back(n);
    os << std::string(depth * 2, ' ') << (n->bits & kBitActive ? "* " : "  ")
       << '"' << n->name << "\" " << TypeName(n->type) << " #" << n->marker;
    if (HasInstanceParameters(n)) {
      GmNode* target = Resolve(impl_->registry, n->link, doc, kObase);
      os << " -> " << (target ? "\"" + target->name + "\" #" + std::to_string(target->marker)
                              : std::string(n->link ? "(dead link)" : "(empty)"))
         << " mode " << n->mode;
    }
    os << "\n";
  }
  return os.str();
}

}  // namespace standin
