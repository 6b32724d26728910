// SetACL.exe: asked to make the user owner of the host registry subtree and to
// give the user full access to it. The host registry of a Wine prefix lives in
// plain files that carry no access lists, so there is nothing to change.

#include <iostream>

#include "common/ToolArguments.h"
#include "setacl/SetAclCommand.h"

int main(int argc, char** argv) {
    using namespace veldra::outside;
    const auto parsed = parseSetAclCommand(toolArguments(argc, argv));
    if (const auto* usage = std::get_if<SetAclUsageError>(&parsed)) {
        std::cout << "SetACL.exe: " << usage->message << "\n"
                  << "usage: SetACL.exe -on KEY -ot reg -actn setowner -ownr \"n:ACCOUNT\"\n"
                  << "       SetACL.exe -on KEY -ot reg -actn ace -ace \"n:ACCOUNT;p:PERMISSIONS\"\n";
        return 2;
    }
    const auto& command = std::get<SetAclCommand>(parsed);
    const std::string what = command.action == SetAclAction::SetOwner
                                 ? "owner " + command.account
                                 : command.permissions + " access for " + command.account;
#ifdef _WIN32
    std::cout << "SetACL.exe: " << command.key << ": this build does not change registry access lists; " << what
              << " not set\n";
    return 1;
#else
    std::cout << "SetACL.exe: " << command.key << ": the registry files of a Wine prefix carry no access lists; "
              << what << " needs no change, nothing changed\n";
    return 0;
#endif
}
