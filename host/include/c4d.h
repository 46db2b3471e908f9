// Everything the module sees of the host.
#ifndef GEMLITH_C4D_H
#define GEMLITH_C4D_H

#include "c4d_atomarray.h"
#include "c4d_basecontainer.h"
#include "c4d_basedocument.h"
#include "c4d_baselink.h"
#include "c4d_baselist.h"
#include "c4d_baseobject.h"
#include "c4d_commanddata.h"
#include "c4d_description.h"
#include "c4d_gedata.h"
#include "c4d_general.h"
#include "c4d_gui.h"
#include "c4d_plugin.h"
#include "c4d_resource.h"
#include "c4d_string.h"
#include "ge_types.h"

#endif
