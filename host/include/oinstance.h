// Parameters of the instance object.
#ifndef GEMLITH_OINSTANCE_H
#define GEMLITH_OINSTANCE_H

enum {
  INSTANCEOBJECT_LINK = 1001,
  INSTANCEOBJECT_RENDERINSTANCE_MODE = 1002,
};

#endif
