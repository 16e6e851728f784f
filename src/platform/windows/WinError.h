#pragma once

#include <string>

// Windows' own one-line description of a system error code (GetLastError),
// without the full stop and line break it ends with.
std::string winErrorText(unsigned long code);
