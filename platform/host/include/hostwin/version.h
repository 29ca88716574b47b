// File version information of the Win32 API subset: the size of a file's version resource, the resource
// itself, and its fixed part. On the host there are no files: a test or the runner names the files that
// exist and the file version each carries (hostsim/System.h, SetFileVersion), and these calls build the
// version resource Windows would read from such a file.
//
// Where the stand-in stands:
// - A path is compared without regard to letter case. A bare file name (no backslash) is looked for as
//   given and then in the system directory, as Windows' search would find it there.
// - A file that does not exist: GetFileVersionInfoSizeA answers 0 with ERROR_FILE_NOT_FOUND. A file without
//   version information: 0 with ERROR_RESOURCE_DATA_NOT_FOUND.
// - GetFileVersionInfoA copies at most dwLen bytes; a buffer shorter than the resource keeps its first
//   dwLen bytes and the call still succeeds, as on Windows. VerQueryValueA answers only the root block "\"
//   and only from a block that holds the whole fixed part with its signature.
#pragma once
#include "hostwin/types.h"

#define VS_FFI_SIGNATURE 0xFEEF04BDL
#define VS_FFI_STRUCVERSION 0x00010000L

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "VS_FIXEDFILEINFO is 52 bytes");

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle);
BOOL WINAPI GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData);
BOOL WINAPI VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen);

#define GetFileVersionInfoSize GetFileVersionInfoSizeA
#define GetFileVersionInfo GetFileVersionInfoA
#define VerQueryValue VerQueryValueA
