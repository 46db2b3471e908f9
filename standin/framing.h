// The host's framing commands (12151 frame objects, 13038 frame elements): the view is made to
// show the selected objects' world bounding boxes. They fill no entry of the table of their own:
// the module reaches them through call_command (see registry.h).
#ifndef GEMLITH_STANDIN_FRAMING_H
#define GEMLITH_STANDIN_FRAMING_H

#include <cstdint>
#include <map>

#include "gemlith_api.h"
#include "link.h"

namespace standin {

constexpr int32_t kFrameObjectsCommand = 12151;
constexpr int32_t kFrameElementsCommand = 13038;

// A framing command as the activity log lists it.
struct FramingRecord {
  int32_t command = 0;                 // 12151 or 13038
  std::map<Marker, int32_t> modes;     // each selected instance object: its mode at that moment
};

// What the view shows after the last framing.
struct View {
  bool framed = false;
  double center[3] = {0, 0, 0};
  double radius = 0;
};

class HostImpl;

struct Box {
  double min[3] = {0, 0, 0};
  double max[3] = {0, 0, 0};
};

// The object's box in its own local space: cube ±100, sphere radius 100, an instance in mode 0 the
// box of its reference (through the chain), anything else a point at the origin. An instance counts
// with the mode it had at its last MSG_UPDATE (GmNode::bounds_mode): a mode set without one leaves
// the old bounds.
Box LocalBox(HostImpl& host, const GmNode* object);
GmMatrix WorldMatrix(const GmNode* object);
GmMatrix Multiply(const GmMatrix& a, const GmMatrix& b);

// Runs framing command `command` on the active document; records it in the activity log.
void Frame(HostImpl& host, int32_t command);
// Makes both framing commands reachable through call_command.
void AddFramingCommands(HostImpl& host);

}  // namespace standin

#endif  // GEMLITH_STANDIN_FRAMING_H
