// The module's main file: starts the module on the host's messages and registers the menu, the ten
// entries in the order the host shows them.
#include "commands/commands.h"
#include "ids.h"
#include "resource.h"
#include "settings.h"

namespace {

struct MenuEntry {
  Int32 id;
  Int32 name;  // resource string ids
  Int32 help;
  const char* icon;
  CommandData* (*make)();
};

template <typename T>
CommandData* Make() {
  return NewObjClear(T);
}

// The registration order, which is neither the order of the plugin ids nor of the strings. Each
// name in the string table starts with a "#$nn" prefix: the host orders the plugin menu by it, so
// the menu reads in this order too.
const MenuEntry kMenu[] = {
    {ID_GEMLITH_SELECT, IDS_SELECT, IDS_SELECT_HELP, "gx_select.tif", Make<Command_Select>},
    {ID_GEMLITH_CREATE, IDS_CREATE, IDS_CREATE_HELP, "gx_create.tif", Make<Command_Create>},
    {ID_GEMLITH_SPLIT, IDS_SPLIT, IDS_SPLIT_HELP, "gx_split.tif", Make<Command_Split>},
    {ID_GEMLITH_RENAME, IDS_RENAME, IDS_RENAME_HELP, "gx_rename.tif", Make<Command_Rename>},
    {ID_GEMLITH_FRAMEOBJECTS, IDS_FRAMEOBJECTS, IDS_FRAMEOBJECTS_HELP, "gx_frameobjects.tif",
     Make<Command_FrameObjects>},
    {ID_GEMLITH_FRAMEELEMENTS, IDS_FRAMEELEMENTS, IDS_FRAMEELEMENTS_HELP, "gx_frameelements.tif",
     Make<Command_FrameElements>},
    {ID_GEMLITH_SWAP, IDS_SWAP, IDS_SWAP_HELP, "gx_swap.tif", Make<Command_Swap>},
    {ID_GEMLITH_MAKEEDITABLE, IDS_MAKEEDITABLE, IDS_MAKEEDITABLE_HELP, "gx_makeeditable.tif",
     Make<Command_MakeEditable>},
    {ID_GEMLITH_SETTINGS, IDS_SETTINGS, IDS_SETTINGS_HELP, "gx_settings.tif",
     Make<Command_Settings>},
};

// The separator line of the plugin menu: the host shows a name of "--" as a separator, and its
// "#$09" prefix puts it between the eight instance commands and Settings. No help, no icon, and a
// command object of its own (a Settings command, which the host never runs from a separator).
constexpr char kSeparatorName[] = "#$09--";

}  // namespace

Bool PluginStart(void) {
  for (const MenuEntry& entry : kMenu) {
    const AutoBitmap icon(String(entry.icon), 1.0);  // pixel ratio 1: not a high-density icon
    // Info 0: a plain menu command (no hotkey, option-dialog or icon-gadget flag).
    if (!RegisterCommandPlugin(entry.id, g_resource.LoadString(entry.name), 0, icon,
                               g_resource.LoadString(entry.help), entry.make()))
      return false;
  }
  return RegisterCommandPlugin(ID_GEMLITH_SEPARATOR, String(kSeparatorName), 0, nullptr, String(),
                               Make<Command_Settings>());
}

void PluginEnd(void) {}

// The resource is loaded on the host's start-up message, before PluginStart reads the names.
Bool PluginMessage(Int32 id, void* /*data*/) {
  if (id == C4DPL_INIT_SYS) return g_resource.Init();
  return true;
}
