// The host's framing commands (12151 frame objects, 13038 frame elements): the view is made to
// show the selected objects' world bounding boxes.
#ifndef GEMLITH_STANDIN_FRAMING_H
#define GEMLITH_STANDIN_FRAMING_H

#include "standin/host.h"

namespace standin {

class HostImpl;

struct Box {
  double min[3] = {0, 0, 0};
  double max[3] = {0, 0, 0};
};

// The object's box in its own local space: cube ±100, sphere radius 100, an instance in mode 0 the
// box of its reference (through the chain), anything else a point at the origin.
Box LocalBox(HostImpl& host, const GmNode* object);
GmMatrix WorldMatrix(const GmNode* object);
GmMatrix Multiply(const GmMatrix& a, const GmMatrix& b);

// Runs framing command `command` on the active document; records it in the activity log.
void Frame(HostImpl& host, int32_t command);

}  // namespace standin

#endif  // GEMLITH_STANDIN_FRAMING_H
