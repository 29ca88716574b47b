// The one header through which program code reaches the Win32 API. On Windows it is the real thing.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <dbt.h>
