#pragma once

// The ids of the program's resources, shared by zebcontest.rc and the code that loads them.
#define ZEB_ICON 1
