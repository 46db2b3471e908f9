// The module's one stored option, the settings dialog that edits it, and the modifier-key test.
#ifndef GEMLITH_SETTINGS_H
#define GEMLITH_SETTINGS_H

#include "c4d.h"

// The instance mode that new instance objects receive, read anew from the stored preferences;
// 0 when nothing is stored.
Int32 GetInstanceModeSetting();

// The bit set of the modifier keys held right now (QSHIFT, QCTRL, QALT, ...), as the keyboard's
// input state reports it; 0 when the host gives no state.
Int32 GetKeyboardQualifiers();

// Whether any of the modifier keys in `qualifier` (QSHIFT, QCTRL, QALT) is held right now.
Bool IsQualifierHeld(Int32 qualifier);

// The non-modal dialog with one combo box: the mode of new instance objects.
class SettingsDialog : public GeDialog {
 public:
  ~SettingsDialog() override = default;
  Bool CreateLayout() override;
  Bool InitValues() override;
  Bool Command(Int32 id, const BaseContainer& msg) override;

 private:
  Int32 _instanceMode = 0;  // the mode last read from the combo box
};

class Command_Settings : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Bool RestoreLayout(void* secret) override;

 private:
  SettingsDialog _dialog;
};

#endif
