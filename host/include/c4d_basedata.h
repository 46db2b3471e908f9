// BaseData: the base of the module's plugin data classes.
#ifndef GEMLITH_C4D_BASEDATA_H
#define GEMLITH_C4D_BASEDATA_H

class BaseData {
 public:
  virtual ~BaseData() = default;
};

#endif
