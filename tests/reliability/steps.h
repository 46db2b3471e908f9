// The steps of a random sequence: what a user (or the application) does between two checks.
//
// Steps name objects by their position in document order at the moment the step runs (taken
// modulo the number of objects), never by identity, so a sequence stays meaningful when the
// shrinker removes objects or earlier steps.
#ifndef GEMLITH_TESTS_RELIABILITY_STEPS_H
#define GEMLITH_TESTS_RELIABILITY_STEPS_H

#include <cstdint>
#include <string>
#include <vector>

#include "scene.h"

namespace reliability {

// A failure the host is told to inject for the length of one step.
enum class Fault {
  kNone,
  kAllocArray,       // the nth AtomArray allocation fails
  kAllocObject,      // the nth object allocation
  kAllocLink,        // the nth BaseLink allocation
  kAllocContainer,   // the nth BaseContainer allocation
  kAllocClone,       // the nth clone
  kAllocDescription, // the nth Description allocation
  kInputState,       // GetInputState fails
  kDescriptionLoad,  // the instance object's description does not load
  kDescriptionNoCycle,  // parameter 1002 has no cycle
  kDialogHandle,     // Reload: the host gives the dialogs made at registration no handle
  kDialogGetInt32,   // reading the combo box fails
  kRefuseRegistration,  // Reload: the nth registration is refused
  kResourceMissing,  // Reload: the module's resource is not found
  kResourceCorrupt,  // Reload: the module's resource is malformed
  kMissingIcon,      // Reload: one icon file is missing (nth of the nine)
};
const char* FaultName(Fault f);  // "kAllocClone", ...

struct Step {
  enum Kind {
    kSelect,         // select exactly `picks` (positions in document order), in this order
    kKeys,           // hold the modifier keys `keys` from now on
    kRun,            // pick menu entry `command` (a greyed entry does nothing)
    kCall,           // run `command` whatever its menu state
    kRenameConfirm,  // the next rename dialog is confirmed with `text`
    kRenameCancel,   // the next rename dialog is cancelled
    kSettingsPick,   // pick combo value `value` in the open settings dialog
    kSettingsClose,  // close the settings dialog
    kRestoreLayout,  // the host restores the settings dialog's layout
    kUndo,
    kRedo,
    kMenu,           // the host draws the menu (every GetState)
    kReload,         // unload the module and load it again (`fault`: what goes wrong loading)
  };
  Kind kind = kMenu;
  std::vector<int> picks;
  int32_t keys = 0;
  int32_t command = 0;
  std::string text;
  int32_t value = 0;
  Fault fault = Fault::kNone;
  int nth = 1;

  bool operator==(const Step& o) const {
    return kind == o.kind && picks == o.picks && keys == o.keys && command == o.command &&
           text == o.text && value == o.value && fault == o.fault && nth == o.nth;
  }
};

std::vector<Step> GenerateSteps(Rng& rng, int count);

// One C++ statement for the reproduction fixture (`Call(ID_GEMLITH_SWAP, Fault::kAllocClone, 2);`).
std::string StepToCpp(const Step& step);
// A short text for messages ("Call Swap with kAllocClone #2").
std::string Describe(const Step& step);
const char* CommandName(int32_t id);  // "Swap", ... or "?"

}  // namespace reliability

#endif  // GEMLITH_TESTS_RELIABILITY_STEPS_H
