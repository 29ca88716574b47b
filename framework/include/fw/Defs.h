// Basic names of the framework: character types, handler markers, the framework's own message and command
// ids, and the checks that compile to nothing in program code.
#pragma once
#include <win32api.h>

typedef char TCHAR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
#ifndef _T
#define _T(x) x
#endif

#define afx_msg
#ifndef PASCAL
#define PASCAL
#endif
#define AFXAPI
#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#define ASSERT_VALID(p) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)

// Messages private to the framework.
#ifndef WM_COMMANDHELP
#define WM_COMMANDHELP 0x0365
#endif
#ifndef WM_KICKIDLE
#define WM_KICKIDLE 0x036A
#endif

// Command ids of the framework.
#define ID_FILE_NEW 0xE100
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_HELP_INDEX 0xE142
#define ID_HELP_FINDER 0xE143
#define ID_CONTEXT_HELP 0xE145
#define ID_HELP 0xE146
#define ID_DEFAULT_HELP 0xE147
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDS_APP_TITLE 0xE000

// The frame's title comes from its document string; FWS_ADDTOTITLE adds the document's name.
#define FWS_ADDTOTITLE 0x00008000L

// Ids of the windows a property sheet creates for itself.
#define AFX_IDC_TAB_CONTROL 0x3020
#define ID_APPLY_NOW 0x3021
