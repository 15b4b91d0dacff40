#pragma once
// <windows.h> for the backend. Its LoadCursor macro would rename the
// toolkit's own LoadCursor wherever both are seen.
#include <windows.h>
#undef LoadCursor
