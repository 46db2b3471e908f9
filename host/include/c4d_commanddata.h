// CommandData: a command plugin. The host takes over a registered command object.
#ifndef GEMLITH_C4D_COMMANDDATA_H
#define GEMLITH_C4D_COMMANDDATA_H

#include "c4d_basedata.h"
#include "c4d_string.h"
#include "ge_math.h"

class BaseBitmap;
class BaseDocument;
class GeDialog;

class CommandData : public BaseData {
 public:
  // Executes the command on the active document; true if it was executed successfully. The
  // default returns true. (This host always passes a null `parentManager`.)
  virtual Bool Execute(BaseDocument* doc, GeDialog* parentManager);
  // The command's state for menus and toolbars: a combination of CMD_ENABLED and CMD_VALUE. The
  // default returns CMD_ENABLED.
  virtual Int32 GetState(BaseDocument* doc, GeDialog* parentManager);
  // Called when a layout is loaded and asynchronous dialogs are restored; when implemented it has to
  // call the dialog's RestoreLayout. True if the dialog was restored. The default returns true.
  virtual Bool RestoreLayout(void* secret);
};

// Registers a command plugin; true if it was registered. The host takes over `dat`. (The binding's
// own: a null `dat` gives false, and an object the host refuses is destroyed here.)
Bool RegisterCommandPlugin(Int32 id, const String& str, Int32 info, BaseBitmap* icon,
                           const String& help, CommandData* dat);

#endif
