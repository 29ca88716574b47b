// A stand-in for the driver-access library whose answers come from a fuzzer's input: every request takes
// its status, its reported byte count and its answer bytes from the script, so the channel and its decoders
// meet every answer a broken driver could give.
#pragma once
#include "FuzzInput.h"

// The script the next requests read; it must outlive them.
void SetDriverScript(CFuzzInput* pScript);
