// Plausible contents for each page, so that a picture of a page shows filled lists, texts and bars the way
// the program fills them, not empty controls.
#pragma once

#include <windows.h>

void fillSampleContent(HWND page, int dialogId);
