#pragma once
#define IDD_REPAIR_DIALOG 102
#define IDI_REPAIR 128
