// Registry values of any name, type and bytes, decoded by the profile store's rules of every Windows kind,
// directly and through LoadProfile from the registry stand-in.
//
// Input: one byte for the kind of the LoadProfile run, then values, each as
//   name length (1 byte), name, type (1 byte), data length (2 bytes, little-endian), data.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "app/WindowsKind.h"
#include "common/Globals.h"
#include "hostsim/Registry.h"
#include "hostsim/System.h"
#include "profiles/ProfileDecoding.h"
#include "profiles/ProfileEncoding.h"
#include "sheet/ConfigUtility.h"

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        std::fprintf(stderr, "invariant broken: %s\n", pszWhat);
        std::abort();
    }
}

bool IsPlainText(const CString& str) {
    return str.GetLength() <= PROFILE_VALUE_DATA_SIZE &&
           std::strlen(str) == static_cast<size_t>(str.GetLength());
}

// What every decoded profile holds, whatever the registry said.
void CheckProfile(const CWorkingProfile& p, bool bNumbers) {
    Check(p.SSIDLength <= sizeof(p.SSID), "SSIDLength <= 32");
    Check(p.SSIDLength == (p.SSIDText.GetLength() < 32 ? p.SSIDText.GetLength() : 32),
          "SSIDLength follows SSIDText");
    Check(std::memcmp(p.SSID, (LPCTSTR)p.SSIDText, p.SSIDLength) == 0, "SSID holds the text's first bytes");
    Check(p.DSChannel <= 0xFF && p.TxRate <= 0xFF, "channel and rate keep 8 bits");
    Check(p.AuthentAlg != 65535, "65535 is read as 3");
    for (const CString* s : {&p.SSIDText, &p.CurProfile, &p.DefaultKeys, &p.WEP_KEY_1, &p.WEP_KEY_4,
                             &p.WEP64_KEY_1, &p.WEP128_KEY_4, &p.FragThresh, &p.RTSThresh})
        Check(IsPlainText(*s), "texts stop at the first zero and within the data buffer");
    if (bNumbers)
        for (const CString* s : {&p.FragThresh, &p.RTSThresh})
            Check(s->IsEmpty() || std::strtoul(*s, nullptr, 10) <= 0xFFFF, "NT 4 thresholds keep 16 bits");
}

// Saving a decoded profile and decoding what was saved gives the same values back wherever the byte rules
// can hold them.
void CheckRoundTrip(const CWorkingProfile& p, bool bNumbers) {
    CWorkingProfile back = p;
    PROFILE_VALUE value;
    for (int i = 0; EncodeProfileValue(p, bNumbers, i, &value); ++i) {
        // Every text is stored whole; only "DefaultKeys", four texts joined, can be longer than a load reads.
        Check(value.cbData <= (std::strcmp(value.pszName, "DefaultKeys") == 0 ? PROFILE_TEXT_SIZE_MAX
                                                                              : PROFILE_VALUE_DATA_SIZE),
              "encoded values are the whole texts");
        Check(DecodeProfileValue(&back, value.pszName, value.abData, value.cbData, bNumbers), "known name");
    }
    Check(back.SSIDText == p.SSIDText && back.CurProfile == p.CurProfile && back.WEP_KEY_2 == p.WEP_KEY_2,
          "texts round-trip");
    Check(back.AuthentAlg == p.AuthentAlg, "AuthentAlg round-trips");
    Check(back.TxRate == p.TxRate, "TxRate round-trips");
    if (bNumbers || p.DSChannel <= 99)
        Check(back.DSChannel == p.DSChannel, "DSChannel round-trips");
    if (bNumbers || p.WepReq <= 9)
        Check(back.WepReq == p.WepReq, "WepReq round-trips");
}

struct Kind {
    hostsim::WindowsKind system;
    const char* pszParameters;
};

const Kind s_Kinds[] = {
    {hostsim::WindowsKind::Win2000,
     "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0003"},
    {hostsim::WindowsKind::Win95, "System\\CurrentControlSet\\Services\\Class\\Net\\0003"},
    {hostsim::WindowsKind::Win98, "System\\CurrentControlSet\\Services\\Class\\Net\\0003"},
    {hostsim::WindowsKind::NT4, "System\\CurrentControlSet\\Services\\RAZUR1\\Parameters"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    static CConfigUtility s_sheet("fuzz");
    CFuzzInput input(pbData, cbData);
    const Kind& kind = s_Kinds[input.Byte() % 4];

    hostsim::ResetRegistry();
    hostsim::SetWindowsKind(kind.system);
    DetectWindowsKind();
    g_szAdapterName.Set("0003");
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kind.pszParameters, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        return 0;

    CWorkingProfile direct[2];
    while (!input.IsEmpty()) {
        std::size_t cchName = 0;
        const std::uint8_t* pbName = input.Bytes(input.Byte(), &cchName);
        const std::string strName(reinterpret_cast<const char*>(pbName), cchName);
        const DWORD dwType = input.Byte();
        std::size_t cbValue = 0;
        const std::uint8_t* pbValue = input.Bytes(input.Word(), &cbValue);

        for (int bNumbers = 0; bNumbers < 2; ++bNumbers) {
            DecodeProfileValue(&direct[bNumbers], strName.c_str(), pbValue, static_cast<DWORD>(cbValue),
                               bNumbers);
            CheckProfile(direct[bNumbers], bNumbers);
        }
        RegSetValueExA(hKey, strName.c_str(), 0, dwType, pbValue, static_cast<DWORD>(cbValue));
    }
    RegCloseKey(hKey);
    for (int bNumbers = 0; bNumbers < 2; ++bNumbers)
        CheckRoundTrip(direct[bNumbers], bNumbers);

    const bool bNumbers = kind.system == hostsim::WindowsKind::NT4;
    static_cast<CWorkingProfile&>(s_sheet) = CWorkingProfile();
    Check(s_sheet.LoadProfile(nullptr) == TRUE, "the parameters key loads");
    CheckProfile(s_sheet, bNumbers);
    return 0;
}
