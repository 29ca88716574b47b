// The driver file the card's driver installation leaves on the machine, whose version resource the About
// page shows.
#pragma once
#include <string>

#include "CardInstaller.h"

namespace cardinstall {

// Where the installation puts it: on the NT family "<system directory>\Drivers\DAVARIVU.SYS", on Windows
// 95/98 "DIZOZUVA.ROR" in the system directory (where a search for the bare file name finds it). Empty when
// the system directory cannot be read.
std::string DriverFilePath(WindowsKind kind);

// Puts the driver file in its place. On Windows `source` is a file with a version resource
// (tools/driverfile), copied there; on the host stand-ins it is a version "a.b.c.d", which the stand-in's
// file records keep for that path. Returns false with a message in *error when it cannot.
bool PlaceDriverFile(WindowsKind kind, const std::string& source, std::string* error);

} // namespace cardinstall
