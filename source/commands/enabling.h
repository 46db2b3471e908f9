// The rules by which the host enables or greys the module's menu entries. They read the selection
// only and change nothing.
#ifndef GEMLITH_ENABLING_H
#define GEMLITH_ENABLING_H

#include "c4d.h"

// At least one object of the document is selected.
Int32 StateSelection(BaseDocument* doc);
// At least one selected object (selected children included) is an instance object.
Int32 StateInstanceSelected(BaseDocument* doc);
// Two or more objects are selected, selected children included.
Int32 StateTwoOrMore(BaseDocument* doc);
// The active object is an instance object, or its record names an object of the document.
Int32 StateSwap(BaseDocument* doc);

#endif
