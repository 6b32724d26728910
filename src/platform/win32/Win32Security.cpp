#include "platform/Win32Security.h"

#include <windows.h>
#include <aclapi.h>

#include "platform/SecurityMessages.h"
#include "platform/win32/WideText.h"

namespace veldra::platform {
using namespace securitymsg;
namespace {

// Enables or disables one privilege of this process; the failure texts in order.
std::vector<std::string> setPrivilege(const wchar_t* privilege, bool enable) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return {openProcessTokenFailed(GetLastError())};
    std::vector<std::string> messages;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (!LookupPrivilegeValueW(nullptr, privilege, &privileges.Privileges[0].Luid)) {
        messages.push_back(lookupPrivilegeValueFailed(GetLastError()));
    } else {
        privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        // A privilege the account lacks "succeeds" with ERROR_NOT_ALL_ASSIGNED.
        const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        const DWORD error = GetLastError();
        if (!adjusted || error != ERROR_SUCCESS) messages.push_back(adjustTokenPrivilegesFailed(error));
    }
    CloseHandle(token);
    return messages;
}

void append(std::vector<std::string>& messages, std::vector<std::string> more) {
    messages.insert(messages.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::string> Win32Security::SetOwner(const std::filesystem::path& path, std::string_view account) {
    std::vector<std::string> messages = setPrivilege(L"SeRestorePrivilege", true);
    // The sizes the host's helper passes: a SID buffer of 256 bytes announced as 255.
    BYTE sid[256] = {};
    DWORD sidSize = 255;
    wchar_t domain[256] = {};
    DWORD domainSize = 255;
    SID_NAME_USE use{};
    const std::wstring name = wideText(account);
    if (!LookupAccountNameW(nullptr, name.c_str(), sid, &sidSize, domain, &domainSize, &use)) {
        messages.push_back(lookupAccountNameFailed(GetLastError()));
        return messages;
    }
    SECURITY_DESCRIPTOR descriptor{};
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) {
        messages.push_back(initializeSecurityDescriptorFailed(GetLastError()));
        return messages;
    }
    if (!SetSecurityDescriptorOwner(&descriptor, sid, FALSE)) {
        messages.push_back(setSecurityDescriptorOwnerFailed(GetLastError()));
        return messages;
    }
    if (!SetFileSecurityW(path.c_str(), OWNER_SECURITY_INFORMATION, &descriptor)) {
        messages.push_back(setFileSecurityFailed(GetLastError()));
        return messages;
    }
    append(messages, setPrivilege(L"SeRestorePrivilege", false));
    return messages;
}

std::vector<std::string> Win32Security::SetFolderRights(const std::filesystem::path& path, std::string_view account) {
    std::wstring folder = path.wstring();
    PACL current = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (const DWORD rc = GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                               nullptr, &current, nullptr, &descriptor);
        rc != ERROR_SUCCESS)
        return {getNamedSecurityInfoFailed(rc)};

    std::wstring name = wideText(account);
    EXPLICIT_ACCESSW access{};
    BuildExplicitAccessWithNameW(&access, name.data(), GENERIC_ALL, SET_ACCESS,
                                 OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    std::vector<std::string> messages;
    PACL updated = nullptr;
    if (const DWORD rc = SetEntriesInAclW(1, &access, current, &updated); rc != ERROR_SUCCESS) {
        messages.push_back(setEntriesInAclFailed(rc));
    } else {
        if (const DWORD set = SetNamedSecurityInfoW(folder.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                                    nullptr, updated, nullptr);
            set != ERROR_SUCCESS)
            messages.push_back(setNamedSecurityInfoFailed(set));
        LocalFree(updated);
    }
    LocalFree(descriptor);
    return messages;
}

}  // namespace veldra::platform
