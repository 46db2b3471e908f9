// The module's resource object: string tables, loaded on the host's start-up message.
#ifndef GEMLITH_RESOURCE_H
#define GEMLITH_RESOURCE_H

#include "c4d.h"
#include "c4d_symbols.h"

#endif
