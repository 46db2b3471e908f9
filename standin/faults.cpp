// Fault injection: the countdowns behind Faults (see faults.h).
#include "faults.h"

namespace standin {

void Faults::FailNth(Alloc kind, int n) {
  if (n <= 0) {
    countdown_.erase(kind);
    return;
  }
  countdown_[kind] = n;
}

bool Faults::Consume(Alloc kind) {
  auto it = countdown_.find(kind);
  if (it == countdown_.end()) return false;
  if (--it->second > 0) return false;
  countdown_.erase(it);
  ++delivered_;
  return true;
}

bool Faults::ConsumeRegistration() {
  ++registrations_;
  return Deliver(refuse_registration > 0 && registrations_ == refuse_registration);
}

bool Faults::Deliver(bool on) {
  if (on) ++delivered_;
  return on;
}

}  // namespace standin
