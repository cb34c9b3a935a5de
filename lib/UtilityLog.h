#pragma once
// Native builds only: what Utility::Execute was asked to start, one entry per
// call, the file first and then each further string.
#include <vector>

#include "Types.h"

namespace zobrel {
extern std::vector<std::vector<CString>> g_executeLog;
}
