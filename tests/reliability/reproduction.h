// The fixture of reproductions printed by the sequence tester (and pasted into
// regressions_test.cpp): a stand-in host with the module loaded, and one call per step, each
// followed by the tester's whole-scene checks.
//
//   TEST_F(Reproduction, Seed17) {
//     standin::Host& h = host();
//     std::vector<GmNode*> o(2);
//     o[0] = h.AddObject(standin::kOcube, "Cube");
//     o[1] = h.AddObject(standin::kOinstance, "I");
//     h.SetLinkMarker(o[1], standin::Host::MarkerOf(o[0]));
//     SelectAt({1});            // positions in document order, modulo the number of objects
//     Keys(standin::kQCtrl);
//     Call(ID_GEMLITH_SWAP);    // fails the test when a check after the step fails
//   }
//
// After the first failing step the remaining steps are skipped.
#ifndef GEMLITH_TESTS_RELIABILITY_REPRODUCTION_H
#define GEMLITH_TESTS_RELIABILITY_REPRODUCTION_H

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ids.h"
#include "scene.h"
#include "session.h"
#include "steps.h"

namespace reliability {

class Reproduction : public ::testing::Test {
 protected:
  using Fault = reliability::Fault;

  standin::Host& host() { return session_.host(); }
  const Counters& counters() const { return session_.counters(); }

  void SelectAt(const std::vector<int>& picks) { Do(With(Step::kSelect, &Step::picks, picks)); }
  void Keys(int32_t keys) { Do(With(Step::kKeys, &Step::keys, keys)); }
  void Run(int32_t id, Fault fault = Fault::kNone, int nth = 1) {
    Do(With(Step::kRun, &Step::command, id, fault, nth));
  }
  void Call(int32_t id, Fault fault = Fault::kNone, int nth = 1) {
    Do(With(Step::kCall, &Step::command, id, fault, nth));
  }
  void RenameConfirm(const std::string& text) { Do(With(Step::kRenameConfirm, &Step::text, text)); }
  void RenameCancel() { Do(Simple(Step::kRenameCancel)); }
  void SettingsPick(int32_t value, Fault fault = Fault::kNone, int nth = 1) {
    Do(With(Step::kSettingsPick, &Step::value, value, fault, nth));
  }
  void SettingsClose() { Do(Simple(Step::kSettingsClose)); }
  void RestoreLayout() { Do(Simple(Step::kRestoreLayout)); }
  void Undo() { Do(Simple(Step::kUndo)); }
  void Redo() { Do(Simple(Step::kRedo)); }
  void Menu(Fault fault = Fault::kNone, int nth = 1) { Do(Simple(Step::kMenu, fault, nth)); }
  void Reload(Fault fault = Fault::kNone, int nth = 1) { Do(Simple(Step::kReload, fault, nth)); }

 private:
  static Step Simple(Step::Kind kind, Fault fault = Fault::kNone, int nth = 1) {
    Step s;
    s.kind = kind;
    s.fault = fault;
    s.nth = nth;
    return s;
  }
  // A step of `kind` with one more field set.
  template <class T>
  static Step With(Step::Kind kind, T Step::*field, const T& value, Fault fault = Fault::kNone,
                   int nth = 1) {
    Step s = Simple(kind, fault, nth);
    s.*field = value;
    return s;
  }
  void Do(const Step& step) {
    if (failed_) return;
    const Failure f = session_.Apply(step);
    if (f.failed()) {
      failed_ = true;
      ADD_FAILURE() << f.detail;
    }
  }

  Session session_;
  bool failed_ = false;
};

}  // namespace reliability

#endif  // GEMLITH_TESTS_RELIABILITY_REPRODUCTION_H
