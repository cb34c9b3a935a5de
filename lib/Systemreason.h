#pragma once
// The system's own words for a Windows error code, for the one line that
// tells the user why something could not be done.
#include "Types.h"

namespace zobrel {

// FormatMessage's text for nError without its line end, or "Error <n>." when
// the system has none. Windows builds only.
CString Systemreason(unsigned long nError);

}  // namespace zobrel
