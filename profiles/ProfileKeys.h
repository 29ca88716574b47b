// Where the profile store lives in the registry. The store itself and the Configuration page (which lists,
// reads and removes profile keys) form every path here, so both follow the same rules.
//
// All keys are under HKEY_LOCAL_MACHINE and opened with all access. Below the adapter parameters key lie the
// profile list "Profile", one key "Profile\<name>" per profile, and the driver's parameter descriptions
// "Ndi\params\<value name>".
//   Windows 2000, 95, 98/Me: the parameters key is g_szClassKeyPath followed by g_szAdapterName.
//   NT 4: "System\CurrentControlSet\Services\RAZUR<n>\Parameters", n being the first of 1 .. 99 for which
//   the key that the operation wants opens. The instance is probed anew by every operation.
#pragma once
#include <win32api.h>

enum {
    SERVICE_INSTANCE_FIRST = 1,
    SERVICE_INSTANCE_LAST = 99,
    // Design decision: profile names are used as key names unchanged, so a name must be one key name: not
    // empty (that would be the profile list itself) and without a backslash (that would name a deeper key).
    // The Configuration page reads the list's key names into 250-byte buffers, so a longer name could be
    // saved but never listed again.
    PROFILE_NAME_MAX = 249,
    PROFILE_KEY_NAME_SIZE = sizeof("Profile\\") + PROFILE_NAME_MAX,
    PROFILE_STORE_PATH_SIZE = 600,
};

// TRUE when pszName can name a profile key.
BOOL IsProfileNameUsable(LPCSTR pszName);

// "Profile\<name>" into szBelow; FALSE, with szBelow empty, when the name is not usable.
BOOL FormProfileKeyName(LPCSTR pszName, char (&szBelow)[PROFILE_KEY_NAME_SIZE]);

// Opens the key pszBelow below the adapter parameters key (NULL or "" for the parameters key itself,
// "Profile", or a name formed by FormProfileKeyName). Returns the open key, or NULL.
//
// *pbNoInstance (may be NULL) becomes TRUE when on NT 4 no instance 1 .. 99 has the key; the operations the
// user waits on report that with ReportNoServiceInstance. Nothing is opened while the Windows kind is not
// known yet. Design decision: on the other kinds nothing is opened while g_szAdapterName is empty either, as
// the path would then name the network class key itself, which the store must never read or write.
HKEY OpenProfileStoreKey(LPCSTR pszBelow, BOOL* pbNoInstance);

// The exclamation beep and message 61528 "Failed to open the service registry of the device.".
void ReportNoServiceInstance();

// Removes the profile key of pszName: on NT 4 under the first instance whose key for it opens. FALSE when
// the name is not usable, no such key opens or the delete fails. Shows nothing.
BOOL DeleteProfileKey(LPCSTR pszName);
