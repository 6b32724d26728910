#pragma once
// The two command lines SetACL.exe is run with before mapsets are removed:
//   -on KEY -ot reg -actn setowner -ownr "n:ACCOUNT"
//   -on KEY -ot reg -actn ace -ace "n:ACCOUNT;p:full"

#include <string>
#include <variant>
#include <vector>

namespace veldra::outside {

enum class SetAclAction { SetOwner, AddEntry };

struct SetAclCommand {
    SetAclAction action = SetAclAction::SetOwner;
    std::string key;          // "HKLM\SOFTWARE\...\Garmin"
    std::string account;      // without "n:"
    std::string permissions;  // "full" (entries only)
};

struct SetAclUsageError {
    std::string message;
};

std::variant<SetAclCommand, SetAclUsageError> parseSetAclCommand(const std::vector<std::string>& arguments);

}  // namespace veldra::outside
