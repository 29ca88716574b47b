/* The driver-access library: five calls through which a program opens the card's adapter and hands NDIS
 * query and set requests to its driver.
 *
 * Calling convention: WINAPI (stdcall on 32-bit Windows). W32N50.dll exports the five names undecorated
 * (W32N_OpenAdapterA, not _W32N_OpenAdapterA@4); its import library maps the decorated symbols a caller's
 * object files use to those names, so a program links against it as usual.
 *
 * The request record is 556 bytes with exact offsets in 32-bit builds. Where pointers are 64 bits wide
 * (Win64, and the 64-bit host build) the buffer address cannot fit the 32-bit field at offset 28: there
 * the field is a pointer at offset 32 and the fields after it move up by 8 bytes. This header is the only
 * place that difference lives. */
#pragma once
#include <win32api.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define W32N_QUERY_INFORMATION 0u
#define W32N_SET_INFORMATION 1u

#if UINTPTR_MAX > 0xFFFFFFFFu
#define W32N_WIDE_POINTERS 1
#else
#define W32N_WIDE_POINTERS 0
#endif

typedef struct W32N_REQUEST {
    BYTE Reserved0[20]; /* the library's */
    DWORD RequestType;  /* 20: W32N_QUERY_INFORMATION or W32N_SET_INFORMATION */
    DWORD Oid;          /* 24 */
#if W32N_WIDE_POINTERS
    DWORD Reserved1;         /* 28 */
    PVOID InformationBuffer; /* 32 */
#else
    PVOID InformationBuffer; /* 28 */
#endif
    DWORD InformationBufferLength; /* 32 (wide: 40) */
    DWORD BytesWritten;            /* 36 (wide: 44): written by a query, read by a set */
    DWORD BytesNeeded;             /* 40 (wide: 48): on a length failure, the length needed */
    BYTE Reserved2[512];           /* the library's */
} W32N_REQUEST;

#define W32N_REQUEST_SIZE_32 556u

/* The area W32N_GetAdapterRegistryInfoBySubkeyIndex fills: 780 bytes, the zero-terminated adapter
 * device name at byte 520. */
#define W32N_REGISTRY_INFO_SIZE 780u
#define W32N_DEVICE_NAME_OFFSET 520u
typedef struct W32N_ADAPTER_REGISTRY_INFO {
    CHAR KeyPath[260];     /* registry key read, under HKEY_LOCAL_MACHINE */
    CHAR Description[260]; /* the adapter's description */
    CHAR DeviceName[260];  /* e.g. "{GUID}" on Windows 2000, "RAZUR1" on NT 4 */
} W32N_ADAPTER_REGISTRY_INFO;

/* Non-zero low byte on the NT family. */
BOOL WINAPI W32N_IsWindowsNT(void);
/* 0 on success, else a Win32 error code (ERROR_FILE_NOT_FOUND: no adapter entry at that index;
 * ERROR_NOT_SUPPORTED on Windows 95/98/Me). */
DWORD WINAPI W32N_GetAdapterRegistryInfoBySubkeyIndex(int index, PVOID info);
/* "\Device\<device name>" on the NT family, the four-digit class subkey name on 9x;
 * INVALID_HANDLE_VALUE when no card answers to that name or the card is out or asleep. */
HANDLE WINAPI W32N_OpenAdapterA(LPCSTR name);
/* 0 on success; otherwise the driver's NDIS status, or a Win32 error for a bad handle or record. The
 * request has completed on return whatever `wait` says; the overlapped event, if any, is set. */
DWORD WINAPI W32N_MakeNdisRequest(HANDLE adapter, PVOID request, LPOVERLAPPED overlapped, DWORD wait);
VOID WINAPI W32N_CloseAdapter(HANDLE adapter);

#ifdef __cplusplus
} /* extern "C" */

#include <cstddef>
static_assert(sizeof(W32N_ADAPTER_REGISTRY_INFO) == W32N_REGISTRY_INFO_SIZE,
              "registry info area is 780 bytes");
static_assert(offsetof(W32N_ADAPTER_REGISTRY_INFO, DeviceName) == W32N_DEVICE_NAME_OFFSET,
              "device name at 520");
static_assert(offsetof(W32N_REQUEST, RequestType) == 20 && offsetof(W32N_REQUEST, Oid) == 24,
              "request type and OID");
#if W32N_WIDE_POINTERS
static_assert(offsetof(W32N_REQUEST, InformationBuffer) == 32 &&
                  offsetof(W32N_REQUEST, InformationBufferLength) == 40 &&
                  offsetof(W32N_REQUEST, BytesWritten) == 44 && offsetof(W32N_REQUEST, BytesNeeded) == 48,
              "wide request record layout");
#else
static_assert(sizeof(W32N_REQUEST) == W32N_REQUEST_SIZE_32, "request record is 556 bytes");
static_assert(offsetof(W32N_REQUEST, InformationBuffer) == 28 &&
                  offsetof(W32N_REQUEST, InformationBufferLength) == 32 &&
                  offsetof(W32N_REQUEST, BytesWritten) == 36 && offsetof(W32N_REQUEST, BytesNeeded) == 40,
              "request record layout");
#endif
#endif
