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

  void SelectAt(const std::vector<int>& picks) {
    Step s;
    s.kind = Step::kSelect;
    s.picks = picks;
    Do(s);
  }
  void Keys(int32_t keys) {
    Step s;
    s.kind = Step::kKeys;
    s.keys = keys;
    Do(s);
  }
  void Run(int32_t id, Fault fault = Fault::kNone, int nth = 1) { Do(Command(Step::kRun, id, fault, nth)); }
  void Call(int32_t id, Fault fault = Fault::kNone, int nth = 1) { Do(Command(Step::kCall, id, fault, nth)); }
  void RenameConfirm(const std::string& text) {
    Step s;
    s.kind = Step::kRenameConfirm;
    s.text = text;
    Do(s);
  }
  void RenameCancel() { Do(Simple(Step::kRenameCancel)); }
  void SettingsPick(int32_t value, Fault fault = Fault::kNone, int nth = 1) {
    Step s = Simple(Step::kSettingsPick, fault, nth);
    s.value = value;
    Do(s);
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
  static Step Command(Step::Kind kind, int32_t id, Fault fault, int nth) {
    Step s = Simple(kind, fault, nth);
    s.command = id;
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
