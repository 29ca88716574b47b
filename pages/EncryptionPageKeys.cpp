#include "pages/EncryptionPageKeys.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void WepKeyFromText(LPCSTR pszText, BYTE* pbKey, int cbKey) {
    const size_t cchText = pszText != nullptr ? std::strlen(pszText) : 0;
    for (int j = 0; j < cbKey; ++j) {
        char szPair[3] = {0, 0, 0};
        for (size_t k = 0; k < 2; ++k) {
            const size_t nAt = 2 * (size_t)j + k;
            if (nAt < cchText)
                szPair[k] = pszText[nAt];
        }
        pbKey[j] = (BYTE)(std::strtol(szPair, nullptr, 16) & 0xFF);
    }
}

CString WepKeyToText(const BYTE* pbKey, int cbKey) {
    CString strText;
    for (int j = 0; j < cbKey; ++j) {
        char szPair[3];
        std::snprintf(szPair, sizeof(szPair), "%02X", pbKey[j]);
        strText += szPair;
    }
    return strText;
}

// The sum and the products are kept in unsigned 32-bit arithmetic: only their low 8 bits count, and those
// are the same as in signed arithmetic, without its overflow for a very long passphrase.
int WepKeyFromPassphrase(LPCSTR pszPassphrase, BYTE* pbKey, int cbKey) {
    const size_t cchPassphrase = pszPassphrase != nullptr ? std::strlen(pszPassphrase) : 0;
    if (cchPassphrase == 0)
        return 0;
    DWORD dwSum = 0;
    for (size_t i = 0; i < cchPassphrase; ++i)
        dwSum += (DWORD)(LONG)(signed char)pszPassphrase[i];
    for (int i = 0; i < cbKey; ++i) {
        const DWORD dwChar = (DWORD)(LONG)(signed char)pszPassphrase[(size_t)i % cchPassphrase];
        pbKey[i] = (BYTE)((dwChar * dwSum) & 0xFF);
    }
    return 1;
}
