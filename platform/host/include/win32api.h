// The one header through which program code reaches the Win32 API. On the host build it declares the
// subset the program uses, with Windows' names, types, constants and record layouts, implemented by our
// stand-ins in platform/host.
#pragma once
#include "hostwin/types.h"
#include "hostwin/kernel.h"
#include "hostwin/registry.h"
#include "hostwin/user.h"
#include "hostwin/gdi.h"
#include "hostwin/comctl.h"
#include "hostwin/shell.h"
#include "hostwin/version.h"
#include "hostwin/dbt.h"
