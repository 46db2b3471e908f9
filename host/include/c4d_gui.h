// GeDialog: a dialog of the host. The module derives from it and fills its layout; the host calls
// CreateLayout, InitValues and Command. Also the input state and the message box.
#ifndef GEMLITH_C4D_GUI_H
#define GEMLITH_C4D_GUI_H

#include "c4d_basecontainer.h"
#include "c4d_string.h"
#include "ge_math.h"
#include "ge_prepass.h"

struct GmDialog;
class C4DGadget;

// A gadget named by its id.
class GadgetPtr {
 public:
  GadgetPtr(Int32 id) : _id(id) {}  // NOLINT: implicit like the host's
  Int32 GetId() const { return _id; }

 private:
  Int32 _id;
};

class GeDialog {
 public:
  GeDialog();
  virtual ~GeDialog();
  GeDialog(const GeDialog&) = delete;
  GeDialog& operator=(const GeDialog&) = delete;

  // The defaults of CreateLayout and InitValues return true.
  virtual Bool CreateLayout(void);
  virtual Bool InitValues(void);
  // Called when the user clicks on gadget `id` or changes its value; true if successful. The
  // default returns false.
  virtual Bool Command(Int32 id, const BaseContainer& msg);

  // Opens the dialog (x and y -1: at the mouse position); true if successful. `pluginid` names the
  // command whose RestoreLayout brings the dialog back.
  Bool Open(DLG_TYPE dlgtype, Int32 pluginid, Int32 xpos = -1, Int32 ypos = -1,
            Int32 defaultw = 0, Int32 defaulth = 0, Int32 subid = 0);
  Bool RestoreLayout(Int32 pluginid, Int32 subid, void* secret);

  void SetTitle(const String& title);
  Bool GroupBegin(Int32 id, Int32 flags, Int32 cols, Int32 rows, const String& title,
                  Int32 groupflags, Int32 initw = 0, Int32 inith = 0);
  Bool GroupSpace(Int32 spacex, Int32 spacey);
  Bool GroupBorderSpace(Int32 left, Int32 top, Int32 right, Int32 bottom);
  Bool GroupEnd(void);
  C4DGadget* AddStaticText(Int32 id, Int32 flags, Int32 initw, Int32 inith, const String& name,
                           Int32 borderstyle);
  C4DGadget* AddComboBox(Int32 id, Int32 flags, Int32 initw = 0, Int32 inith = 0,
                         Bool specialalign = false, Bool allowFiltering = false);
  Bool FreeChildren(const GadgetPtr& id);
  // Adds children (the items of a combo box) from the container `bc`.
  Bool AddChildren(const GadgetPtr& id, const BaseContainer& bc);
  // The host's combo box has no second range, so `min2` and `max2` change nothing.
  Bool SetInt32(const GadgetPtr& id, Int32 value, Int32 min = LIMIT<Int32>::MIN,
                Int32 max = LIMIT<Int32>::MAX, Int32 step = 1, Int32 tristate = 0,
                Int32 min2 = LIMIT<Int32>::MIN, Int32 max2 = LIMIT<Int32>::MAX);
  Bool GetInt32(const GadgetPtr& id, Int32& value) const;
  Bool LayoutChanged(const GadgetPtr& id);

 private:
  GmDialog* _dlg;
};

// Polls channel `askchannel` of device `askdevice` for the current input state. True: `res` holds
// it, like an input event message; false: no state was available.
Bool GetInputState(Int32 askdevice, Int32 askchannel, BaseContainer& res);
// Opens the host's standard message dialog with an exclamation point icon and an OK button.
void MessageDialog(const String& str);

#endif
