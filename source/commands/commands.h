// The module's menu commands. Each command's Execute lives in its own file under commands/.
#ifndef GEMLITH_COMMANDS_H
#define GEMLITH_COMMANDS_H

#include "c4d.h"

class Command_Select : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_Create : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_Split : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_Rename : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_FrameObjects : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_FrameElements : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_Swap : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

class Command_MakeEditable : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
  Int32 GetState(BaseDocument* doc, GeDialog* parentManager) override;
};

#endif
