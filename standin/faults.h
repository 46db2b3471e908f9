// Fault injection: allocations, registrations, resources, icons, descriptions, dialogs and input
// that are made to fail on purpose, so that tests reach the module's failure paths. Fills no entry
// of the table: the table functions of each concept ask it.
#ifndef GEMLITH_STANDIN_FAULTS_H
#define GEMLITH_STANDIN_FAULTS_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "loader.h"

namespace standin {

enum class Alloc { Array, Object, Link, Container, Clone, Description };

struct Faults {
  // The n-th (1-based) allocation of this kind from now on fails; FailNext = FailNth(k, 1).
  void FailNext(Alloc kind) { FailNth(kind, 1); }
  void FailNth(Alloc kind, int n);
  // The k-th (1-based) call of register_command on this host is refused (0: none).
  int refuse_registration = 0;
  bool resource_missing = false;      // resource_load yields null
  bool resource_corrupt = false;      // resource_load yields null, reason "malformed"
  std::vector<std::string> missing_icons;  // file names ("gx_swap.tif") bitmap_load does not find
  bool description_load_fails = false;
  bool description_no_cycle = false;  // parameter 1002 has no DESC_CYCLE element
  bool dialog_handle_missing = false;  // dialog_alloc yields null
  bool dialog_get_int32_fails = false;
  bool input_state_fails = false;
  int32_t api_version = kApiVersion;  // what api_version() answers
  bool p3_null = false;               // action 1 gets p3 = null

  // Used by the host: true when this allocation is to fail (and counts it).
  bool Consume(Alloc kind);
  bool ConsumeRegistration();
  // Used by the host where it asks one of the switches above: `on`, counted as delivered when set.
  bool Deliver(bool on);
  // The faults the host has delivered so far: tests tell by it that an armed fault was reached.
  int delivered() const { return delivered_; }

 private:
  std::map<Alloc, int> countdown_;
  int registrations_ = 0;
  int delivered_ = 0;
};

}  // namespace standin

#endif  // GEMLITH_STANDIN_FAULTS_H
