// CommandData: a menu command. The host owns a registered command object and destroys it when it
// unloads its plugins.
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
  // `parentManager` is the dialog the command was called from; this host always passes null.
  virtual Bool Execute(BaseDocument* doc, GeDialog* parentManager);
  // CMD_ENABLED, or 0 for a greyed entry. The default: always enabled.
  virtual Int32 GetState(BaseDocument* doc, GeDialog* parentManager);
  virtual Bool RestoreLayout(void* secret);
};

// Registers a menu command. The host takes `dat` over when it accepts it; a refused or null `dat`
// yields false (a refused object is destroyed again here, so nothing leaks).
Bool RegisterCommandPlugin(Int32 id, const String& str, Int32 info, BaseBitmap* icon,
                           const String& help, CommandData* dat);

#endif
