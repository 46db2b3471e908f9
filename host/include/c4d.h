// Everything the module sees of the host.
#ifndef GEMLITH_C4D_H
#define GEMLITH_C4D_H

#include "c4d_basebitmap.h"
#include "c4d_basecontainer.h"
#include "c4d_basedata.h"
#include "c4d_basedocument.h"
#include "c4d_baselist.h"
#include "c4d_baseobject.h"
#include "c4d_basetag.h"
#include "c4d_commanddata.h"
#include "c4d_file.h"
#include "c4d_gedata.h"
#include "c4d_general.h"
#include "c4d_gui.h"
#include "c4d_plugin.h"
#include "c4d_pmain.h"
#include "c4d_resource.h"
#include "c4d_string.h"
#include "ge_math.h"
#include "ge_prepass.h"
#include "gui.h"
#include "lib_description.h"
#include "module.h"
#include "newobj.h"
#include "oinstance.h"
#include "operatingsystem.h"

#endif
