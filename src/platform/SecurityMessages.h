#pragma once
// The failure messages of the owner and access-rights operations, shared by
// every backend. `error` is the Windows error number of the failed step.

#include <string>

namespace veldra::platform::securitymsg {

namespace code {
inline constexpr unsigned long FileNotFound = 2;
inline constexpr unsigned long AccessDenied = 5;
inline constexpr unsigned long NotAllAssigned = 1300;  // the account lacks the privilege
inline constexpr unsigned long NoneMapped = 1332;      // no such account
}  // namespace code

inline std::string openProcessTokenFailed(unsigned long error) {
    return "OpenProcessToken failed with error code " + std::to_string(error);
}
inline std::string lookupPrivilegeValueFailed(unsigned long error) {
    return "LookupPrivilegeValue failed with error code " + std::to_string(error);
}
inline std::string adjustTokenPrivilegesFailed(unsigned long error) {
    return "AdjustTokenPrivileges failed with error code " + std::to_string(error);
}
inline std::string initializeSecurityDescriptorFailed(unsigned long error) {
    return "InitializeSecurityDescriptor failed with error code " + std::to_string(error);
}
inline std::string setSecurityDescriptorOwnerFailed(unsigned long error) {
    return "SetSecurityDescriptorOwner failed with error code " + std::to_string(error);
}
inline std::string lookupAccountNameFailed(unsigned long error) {
    return "LookupAccountName failed with error code " + std::to_string(error);
}
inline std::string setFileSecurityFailed(unsigned long error) {
    return "SetFileSecurity failed with error code " + std::to_string(error);
}
inline std::string getNamedSecurityInfoFailed(unsigned long error) {
    return "GetNamedSecurityInfo failed with error code : " + std::to_string(error);
}
inline std::string setEntriesInAclFailed(unsigned long error) {
    return "SetEntriesInAcl failed with error code : " + std::to_string(error);
}
inline std::string setNamedSecurityInfoFailed(unsigned long error) {
    return "SetNamedSecurityInfo failed with error code : " + std::to_string(error);
}

}  // namespace veldra::platform::securitymsg
