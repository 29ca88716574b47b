// CCmdTarget: an object with a message map. Each class that handles messages declares one table
// (DECLARE_MESSAGE_MAP / BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP); a message is looked up in the class's table,
// then in its base class's, so a reader finds every entry point of a window in one place.
#pragma once
#include "fw/Object.h"

class CCmdTarget;

// What a handler entry receives: the message as it arrived. For a command, nID is the command id; for a
// notification, pResult is where the handler's result goes.
struct AFX_MSGARGS {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;
    LRESULT* pResult;
};

// Calls the member named in the entry with the arguments its signature takes; returns the message result.
typedef LRESULT (*AFX_PMSGCALL)(CCmdTarget* target, AFX_MSGARGS& args);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;                  // window message; WM_COMMAND and WM_NOTIFY also match nCode and the id
    UINT nLastMessage;              // last message of a range, 0 for one message
    UINT nCode;                     // control notification code
    UINT nID;                       // first control or command id
    UINT nLastID;                   // last id of the range
    const UINT* pRegisteredMessage; // a registered message, read when the message arrives
    AFX_PMSGCALL pfnCall;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the handler of command nID with notification code nCode, if the map has one.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // The first entry of the maps (this class first) that handles the message, or NULL.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        typedef theClass ThisClass;                                                                          \
        typedef baseClass TheBaseClass;                                                                      \
        static_assert(sizeof(ThisClass) > 0, "complete class");                                              \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, 0, 0, nullptr, nullptr }                                                                      \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

#include "fw/MessageMapEntries.h"
