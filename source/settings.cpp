#include "settings.h"

#include "ids.h"
#include "resource.h"

Int32 GetInstanceModeSetting() {
  const BaseContainer* stored = GetWorldPluginData(ID_GEMLITH);
  return stored ? stored->GetInt32(SETTING_INSTANCE_MODE, 0) : 0;
}

Int32 GetKeyboardQualifiers() {
  BaseContainer state;
  GetInputState(BFM_INPUT_KEYBOARD, BFM_INPUT_CHANNEL, state);  // no state leaves it empty
  return state.GetInt32(BFM_INPUT_QUALIFIER, 0);
}

Bool IsQualifierHeld(Int32 qualifier) { return (GetKeyboardQualifiers() & qualifier) != 0; }

// One row of a two-column grid: the label, then the combo box filling the rest.
Bool SettingsDialog::CreateLayout() {
  SetTitle(g_resource.LoadString(IDS_SETTINGS_TITLE));
  // Two columns; rows 0: as many rows as the gadgets fill.
  GroupBegin(0, BFH_SCALEFIT | BFV_TOP, 2, 0, String(), BFV_GRIDGROUP_EQUALCOLS, 0, 0);
  GroupSpace(4, 4);
  GroupBorderSpace(4, 4, 4, 4);
  AddStaticText(IDC_INSTANCE_MODE_LABEL, BFH_LEFT | BFV_SCALEFIT, 0, 0,
                g_resource.LoadString(IDC_INSTANCE_MODE_LABEL), 0);
  AddComboBox(IDC_INSTANCE_MODE, BFH_SCALEFIT | BFV_TOP, 0, 0, false, false);
  GroupEnd();
  return true;
}

// Fills the combo box with the host's own instance modes and shows the stored one, whatever it is.
Bool SettingsDialog::InitValues() {
  FreeChildren(IDC_INSTANCE_MODE);

  BaseContainer entries;
  Description* desc = Description::Alloc();
  if (desc) {
    if (desc->LoadDescription(Oinstance)) {
      const BaseContainer* param = desc->GetParameterI(
          DescID(DescLevel(INSTANCEOBJECT_RENDERINSTANCE_MODE, DTYPE_LONG, 0)), nullptr);
      const BaseContainer* cycle = param ? param->GetContainerInstance(DESC_CYCLE) : nullptr;
      if (cycle) entries = *cycle;
    }
    Description::Free(desc);
  }
  AddChildren(IDC_INSTANCE_MODE, entries);

  SetInt32(IDC_INSTANCE_MODE, GetInstanceModeSetting(), LIMIT<Int32>::MIN, LIMIT<Int32>::MAX, 1,
           false);
  LayoutChanged(IDC_INSTANCE_MODE);
  return true;
}

// Every change of the combo box is stored at once, replacing the whole stored container.
Bool SettingsDialog::Command(Int32 id, const BaseContainer& msg) {
  GetInt32(IDC_INSTANCE_MODE, _instanceMode);  // on failure the last value stays
  BaseContainer stored;
  stored.SetInt32(SETTING_INSTANCE_MODE, _instanceMode);
  SetWorldPluginData(ID_GEMLITH, stored, false);
  return GeDialog::Command(id, msg);
}

// Non-modal, at the mouse position (-1, -1), 400 pixels wide by default, no default height (0), sub
// id 0 (the command's one dialog). The plugin id lets the host find RestoreLayout when it brings
// the dialog back with a saved layout.
Bool Command_Settings::Execute(BaseDocument* /*doc*/, GeDialog* /*parentManager*/) {
  return _dialog.Open(DLG_TYPE::ASYNC, ID_GEMLITH, -1, -1, 400, 0, 0);
}

Bool Command_Settings::RestoreLayout(void* secret) {
  return _dialog.RestoreLayout(ID_GEMLITH, 0, secret);
}
