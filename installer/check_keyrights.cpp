// Prints the entries of a key's access list under HKEY_LOCAL_MACHINE, one a line:
// "allow|deny <rights> <SID> <ACE flags>", rights and flags in hex. For the installer check.
// Usage: check_keyrights <key path>
#include <windows.h>
#include <sddl.h>

#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, argv[1], 0, READ_CONTROL | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return 1;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<unsigned char> sd(size ? size : 1);
    const LONG rc = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, sd.data(), &size);
    RegCloseKey(key);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (rc != ERROR_SUCCESS || !GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted)) return 1;
    if (!present || !dacl) return 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) return 1;
        if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE && ace->AceType != ACCESS_DENIED_ACE_TYPE) continue;
        // Both kinds share the layout: header, mask, then the SID.
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        wchar_t* sid = nullptr;
        if (!ConvertSidToStringSidW(&allowed->SidStart, &sid)) return 1;
        std::wprintf(L"%ls 0x%lx %ls 0x%x\n", ace->AceType == ACCESS_ALLOWED_ACE_TYPE ? L"allow" : L"deny",
                     allowed->Mask, sid, ace->AceFlags);
        LocalFree(sid);
    }
    return 0;
}
