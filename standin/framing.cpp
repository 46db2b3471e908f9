// The host's framing commands (see framing.h).
#include "framing.h"

#include <algorithm>
#include <cmath>

#include "document.h"
#include "host_impl.h"
#include "node.h"
#include "selection.h"
#include "standin/host.h"

namespace standin {

namespace {

Box PointBox() { return Box{}; }

Box CubeBox(double half) {
  Box b;
  for (int i = 0; i < 3; ++i) {
    b.min[i] = -half;
    b.max[i] = half;
  }
  return b;
}

double Apply(const GmMatrix& m, const double p[3], int axis) {
  return m.off[axis] + m.v1[axis] * p[0] + m.v2[axis] * p[1] + m.v3[axis] * p[2];
}

}  // namespace

GmMatrix Multiply(const GmMatrix& a, const GmMatrix& b) {
  // (a * b)(p) = a(b(p)): the columns of b carried through a's linear part, b's offset through a.
  GmMatrix r{};
  for (int i = 0; i < 3; ++i) {
    r.off[i] = a.off[i] + a.v1[i] * b.off[0] + a.v2[i] * b.off[1] + a.v3[i] * b.off[2];
    r.v1[i] = a.v1[i] * b.v1[0] + a.v2[i] * b.v1[1] + a.v3[i] * b.v1[2];
    r.v2[i] = a.v1[i] * b.v2[0] + a.v2[i] * b.v2[1] + a.v3[i] * b.v2[2];
    r.v3[i] = a.v1[i] * b.v3[0] + a.v2[i] * b.v3[1] + a.v3[i] * b.v3[2];
  }
  return r;
}

GmMatrix WorldMatrix(const GmNode* object) {
  GmMatrix m = object->ml;
  for (const GmNode* p = object->up; p; p = p->up) m = Multiply(p->ml, m);
  return m;
}

Box LocalBox(HostImpl& host, const GmNode* object) {
  // A cycle of instances shows nothing. It is found without remembering the chain: `mark` is an
  // object met before, moved along at doubling distances, and meeting it again closes a cycle.
  const GmNode* n = object;
  const GmNode* mark = object;
  size_t power = 1, steps = 0;
  while (n) {
    switch (n->type) {
      case kOcube: return CubeBox(100);
      case kOsphere: return CubeBox(100);
      default: break;
    }
    if (!HasInstanceParameters(n) || n->bounds_mode != 0) return PointBox();
    n = Resolve(host.registry, n->link, DocOf(n), kObase);
    if (n == mark) return PointBox();
    if (++steps == power) {
      mark = n;
      power *= 2;
      steps = 0;
    }
  }
  return PointBox();
}

void Frame(HostImpl& host, int32_t command) {
  GmDoc* doc = host.Active();
  FramingRecord rec;
  rec.command = command;
  bool any = false;
  double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  for (GmNode* n : ActiveObjects(host, doc, kActiveChildren)) {
    if (IsInstanceOf(n, kOinstance)) rec.modes[n->marker] = n->mode;
    const Box b = LocalBox(host, n);
    const GmMatrix w = WorldMatrix(n);
    for (int corner = 0; corner < 8; ++corner) {
      const double p[3] = {(corner & 1) ? b.max[0] : b.min[0], (corner & 2) ? b.max[1] : b.min[1],
                           (corner & 4) ? b.max[2] : b.min[2]};
      for (int axis = 0; axis < 3; ++axis) {
        const double v = Apply(w, p, axis);
        lo[axis] = any ? std::min(lo[axis], v) : v;
        hi[axis] = any ? std::max(hi[axis], v) : v;
      }
      any = true;
    }
  }
  if (any) {
    double d2 = 0;
    for (int axis = 0; axis < 3; ++axis) {
      host.view.center[axis] = (lo[axis] + hi[axis]) / 2;
      d2 += (hi[axis] - lo[axis]) * (hi[axis] - lo[axis]);
    }
    host.view.radius = std::sqrt(d2) / 2;
    host.view.framed = true;
  }
  host.activity.framing.push_back(std::move(rec));
}

void AddFramingCommands(HostImpl& host) {
  host.host_commands[kFrameObjectsCommand] = [&host](int32_t) {
    Frame(host, kFrameObjectsCommand);
    return true;
  };
  host.host_commands[kFrameElementsCommand] = [&host](int32_t) {
    Frame(host, kFrameElementsCommand);
    return true;
  };
}

const View& Host::GetView() const { return impl_->view; }

}  // namespace standin
