#pragma once
// Native builds only: what Utility::Execute and Launch were asked to start,
// one entry per call, the file first and then each further string.
#include <map>
#include <vector>

#include "Types.h"

namespace zobrel {
extern std::vector<std::vector<CString>> g_executeLog;
// Programs whose start fails, each with the reason Lasterror then gives; any
// other program counts as started. Launch is logged as the file, the
// argument text and, when it waits, "*".
extern std::map<CString, CString> g_executeFailures;
}  // namespace zobrel
