// File version information (hostwin/version.h) over the files a test or the runner says exist
// (hostsim/System.h): each file is a path and, when it has one, a file version; the version resource is
// built the way Windows lays it out, so a reader that walks the block finds what it would find on Windows.
#include "hostsim/System.h"

#include "NoDestroy.h"

#include "hostwin/kernel.h"
#include "hostwin/version.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

namespace hostsim {
namespace {

struct FileEntry {
    bool hasVersion = false;
    DWORD versionMS = 0;
    DWORD versionLS = 0;
};

struct FileState {
    std::mutex mutex;
    std::map<std::string, FileEntry> files; // by path in upper case
};

FileState& Files() {
    static detail::NoDestroy<FileState> state;
    return state.Get();
}

std::string UpperPath(const std::string& path) {
    std::string upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// Four numbers from 0 to 65535 separated by dots, nothing else.
bool ParseVersion(const std::string& text, DWORD* ms, DWORD* ls) {
    DWORD parts[4] = {};
    std::size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
            return false;
        unsigned long value = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            value = value * 10 + static_cast<unsigned long>(text[at] - '0');
            if (value > 0xFFFF)
                return false;
            ++at;
        }
        parts[i] = static_cast<DWORD>(value);
        if (i < 3) {
            if (at >= text.size() || text[at] != '.')
                return false;
            ++at;
        }
    }
    if (at != text.size())
        return false;
    *ms = (parts[0] << 16) | parts[1];
    *ls = (parts[2] << 16) | parts[3];
    return true;
}

std::optional<FileEntry> FindFile(LPCSTR path) {
    if (path == nullptr || *path == '\0')
        return std::nullopt;
    std::string wanted = UpperPath(path);
    std::string inSystem;
    if (wanted.find('\\') == std::string::npos) {
        char directory[260] = "";
        const UINT length = ::GetSystemDirectoryA(directory, sizeof directory);
        if (length > 0 && length < sizeof directory)
            inSystem = UpperPath(std::string(directory) + "\\" + path);
    }
    FileState& s = Files();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.files.find(wanted);
    if (it == s.files.end() && !inSystem.empty())
        it = s.files.find(inSystem);
    if (it == s.files.end())
        return std::nullopt;
    return it->second;
}

// The root block: its length, the length of its value (the fixed part), its type (binary), the key
// "VS_VERSION_INFO" in UTF-16 with its terminator, padding to a 32-bit boundary, then the fixed part.
constexpr std::size_t kKeyOffset = 6;
constexpr char kRootKey[] = "VS_VERSION_INFO";
constexpr std::size_t kFixedOffset = 40;
constexpr std::size_t kBlockSize = kFixedOffset + sizeof(VS_FIXEDFILEINFO);
static_assert(kKeyOffset + 2 * sizeof(kRootKey) <= kFixedOffset, "the key fits before the fixed part");

void PutWord(BYTE* at, WORD value) {
    at[0] = static_cast<BYTE>(value & 0xFF);
    at[1] = static_cast<BYTE>(value >> 8);
}

void BuildBlock(const FileEntry& file, BYTE* block) {
    std::memset(block, 0, kBlockSize);
    PutWord(block, static_cast<WORD>(kBlockSize));
    PutWord(block + 2, static_cast<WORD>(sizeof(VS_FIXEDFILEINFO)));
    PutWord(block + 4, 0);
    for (std::size_t i = 0; i < sizeof(kRootKey); ++i)
        PutWord(block + kKeyOffset + 2 * i, static_cast<WORD>(kRootKey[i]));
    VS_FIXEDFILEINFO fixed{};
    fixed.dwSignature = VS_FFI_SIGNATURE;
    fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
    fixed.dwFileVersionMS = file.versionMS;
    fixed.dwFileVersionLS = file.versionLS;
    fixed.dwProductVersionMS = file.versionMS;
    fixed.dwProductVersionLS = file.versionLS;
    fixed.dwFileFlagsMask = 0x3F;
    fixed.dwFileOS = 0x00040004; // VOS_NT_WINDOWS32
    fixed.dwFileType = 3;        // VFT_DRV
    fixed.dwFileSubtype = 6;     // VFT2_DRV_NETWORK
    std::memcpy(block + kFixedOffset, &fixed, sizeof fixed);
}

} // namespace

bool SetFileVersion(const std::string& path, const std::string& version) {
    FileEntry entry;
    if (!version.empty()) {
        if (!ParseVersion(version, &entry.versionMS, &entry.versionLS))
            return false;
        entry.hasVersion = true;
    }
    FileState& s = Files();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.files[UpperPath(path)] = entry;
    return true;
}

void RemoveFile(const std::string& path) {
    FileState& s = Files();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.files.erase(UpperPath(path));
}

void ClearFiles() {
    FileState& s = Files();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.files.clear();
}

} // namespace hostsim

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle) {
    if (lpdwHandle != nullptr)
        *lpdwHandle = 0;
    const std::optional<hostsim::FileEntry> file = hostsim::FindFile(lptstrFilename);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    if (!file->hasVersion) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return 0;
    }
    return static_cast<DWORD>(hostsim::kBlockSize);
}

BOOL WINAPI GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD, DWORD dwLen, LPVOID lpData) {
    const std::optional<hostsim::FileEntry> file = hostsim::FindFile(lptstrFilename);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (!file->hasVersion) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return FALSE;
    }
    if (lpData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BYTE block[hostsim::kBlockSize];
    hostsim::BuildBlock(*file, block);
    std::memcpy(lpData, block, std::min<std::size_t>(dwLen, sizeof block));
    return TRUE;
}

BOOL WINAPI VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen) {
    if (pBlock == nullptr || lpSubBlock == nullptr || lplpBuffer == nullptr || puLen == nullptr)
        return FALSE;
    if (std::strcmp(lpSubBlock, "\\") != 0)
        return FALSE;
    const BYTE* block = static_cast<const BYTE*>(pBlock);
    const std::size_t length = static_cast<std::size_t>(block[0] | (block[1] << 8));
    const std::size_t valueLength = static_cast<std::size_t>(block[2] | (block[3] << 8));
    if (length < hostsim::kBlockSize || valueLength != sizeof(VS_FIXEDFILEINFO))
        return FALSE;
    DWORD signature = 0;
    std::memcpy(&signature, block + hostsim::kFixedOffset, sizeof signature);
    if (signature != VS_FFI_SIGNATURE)
        return FALSE;
    *lplpBuffer = const_cast<BYTE*>(block + hostsim::kFixedOffset);
    *puLen = static_cast<UINT>(sizeof(VS_FIXEDFILEINFO));
    return TRUE;
}
