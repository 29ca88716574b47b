// Per-thread state of the framework: the message being handled (for Default), the temporary window objects
// that FromHandle made, the device-context wrapper that CDC::FromHandle hands out, and the window-creation
// hook. Made on a thread's first use and destroyed when the thread ends (for the process's first thread
// possibly as late as the process's end).
#pragma once
#include <memory>
#include <unordered_map>

#include "fw/GdiObjects.h"
#include "fw/Wnd.h"

namespace fw {

struct ThreadState {
    MSG current{};
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporaries;
    CWnd noWindow;
    CDC dc;
    CWnd* hookTarget = nullptr;
    HHOOK hook = nullptr;
    // The window whose UpdateData runs now: control notifications to it are held back, so that texts the
    // exchange itself puts into controls do not come back to the window as user edits.
    HWND lockoutNotifyWindow = nullptr;
};

ThreadState& GetThreadState();
// Lets go of the temporary window objects of the calling thread (the application's message loop, once a
// message has been handled).
void DeleteTemporaryWindows();

} // namespace fw
