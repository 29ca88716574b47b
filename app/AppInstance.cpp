// The application object, in a file of its own: every executable that links the program library gets this
// object linked in (see CMakeLists.txt), so the framework's entry point always finds it.
#include "app/WlanUtilityApp.h"

CWlanUtilityApp theApp;
