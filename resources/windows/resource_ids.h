// Ids of the resources linked into TolvexGateway.exe, shared by the .rc script and the code.
// Plain macros: the resource compiler understands nothing else.
#pragma once

#define TOLVEX_IDI_PROGRAM 1    // the program's icon (32 x 32 and 16 x 16)
#define TOLVEX_IDB_PICTURE 101  // the 96 x 96 picture of the option window (32-bit, alpha)
