// Which device a device-node notification is about.
//
// The program reads the device's identifier ("PCI\VEN_1260&DEV_3873&SUBSYS_5E0C7A93\...") from the
// notification record itself: it is the zero-terminated text that follows the fixed DEV_BROADCAST_DEVNODE
// fields, inside the record's size. Whoever announces the card's arrival or removal (the test tools, and on
// a real system the card's installation helper) sends it that way. The record is only read within
// dbcd_size, so a record without the text, or with a text that is not terminated, names no device.
#pragma once
#include <win32api.h>

enum { DEVICE_IDENTIFIER_SIZE = 200 };

// The record as it is sent: the system's fields and the identifier after them.
struct DEV_BROADCAST_DEVNODE_ID {
    DEV_BROADCAST_DEVNODE Node; // dbcd_size covers the identifier's bytes and its terminating zero
    char szIdentifier[DEVICE_IDENTIFIER_SIZE];
};

// Copies the identifier of a device-node record into pszIdentifier (cchIdentifier bytes, terminated).
// FALSE when the record is no device-node record or carries no terminated identifier.
BOOL GetDeviceIdentifier(DWORD_PTR dwData, LPSTR pszIdentifier, int cchIdentifier);
