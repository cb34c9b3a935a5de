#pragma once
#include "AppBase.h"

class CRepairApp : public CAppBase {
public:
    BOOL InitInstance() override;
};
