#pragma once
// The running program's folders and the product's folders.

#include "OvString.h"

// Full path of the running program file.
OvString GetProgramFile();
// Drive and folder of the running program file, with a trailing backslash.
OvString GetProgramFolder();
