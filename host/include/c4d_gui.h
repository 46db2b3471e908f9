// GeDialog: a dialog window of the host. The module derives from it and fills its layout; the host
// calls CreateLayout, InitValues and Command.
#ifndef GEMLITH_C4D_GUI_H
#define GEMLITH_C4D_GUI_H

#include "c4d_basecontainer.h"
#include "c4d_string.h"
#include "ge_types.h"

struct GmDialog;
class C4DGadget;

class GeDialog {
 public:
  GeDialog();
  virtual ~GeDialog();
  GeDialog(const GeDialog&) = delete;
  GeDialog& operator=(const GeDialog&) = delete;

  virtual Bool CreateLayout();
  virtual Bool InitValues();
  // Called for each action message of a gadget. The default returns true.
  virtual Bool Command(Int32 id, const BaseContainer& msg);

  // False when the host's dialog handle is missing or the host refuses.
  Bool Open(DLG_TYPE dlgtype, Int32 pluginid, Int32 xpos = -1, Int32 ypos = -1,
            Int32 defaultw = 0, Int32 defaulth = 0, Int32 subid = 0);
  Bool RestoreLayout(Int32 pluginid, Int32 subid, void* secret);

  Bool SetTitle(const String& title);
  Bool GroupBegin(Int32 id, Int32 flags, Int32 cols, Int32 rows, const String& title,
                  Int32 groupflags, Int32 initw = 0, Int32 inith = 0);
  Bool GroupSpace(Int32 spacex, Int32 spacey);
  Bool GroupBorderSpace(Int32 left, Int32 top, Int32 right, Int32 bottom);
  Bool GroupEnd();
  C4DGadget* AddStaticText(Int32 id, Int32 flags, Int32 initw, Int32 inith, const String& name,
                           Int32 borderstyle);
  C4DGadget* AddComboBox(Int32 id, Int32 flags, Int32 initw = 0, Int32 inith = 0,
                         Bool specialalign = false, Bool allowfiltering = false);
  Bool FreeChildren(Int32 id);
  // One entry per element of `bc`: the element id is the value, its text the label.
  Bool AddChildren(Int32 id, const BaseContainer& bc);
  Bool SetInt32(Int32 id, Int32 value, Int32 min = LIMIT<Int32>::MIN, Int32 max = LIMIT<Int32>::MAX,
                Int32 step = 1, Bool tristate = false);
  Bool GetInt32(Int32 id, Int32& value) const;
  Bool LayoutChanged(Int32 id);

 private:
  GmDialog* _dlg;
};

#endif
