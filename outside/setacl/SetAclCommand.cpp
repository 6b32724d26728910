#include "setacl/SetAclCommand.h"

#include <map>

namespace veldra::outside {
namespace {

SetAclUsageError usage(std::string message) { return {std::move(message)}; }

// "n:NAME" -> NAME; empty when the text is not in that form.
std::string accountOf(std::string_view trustee) {
    return trustee.starts_with("n:") && trustee.size() > 2 ? std::string(trustee.substr(2)) : std::string();
}

}  // namespace

std::variant<SetAclCommand, SetAclUsageError> parseSetAclCommand(const std::vector<std::string>& arguments) {
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const std::string& option = arguments[i];
        if (option != "-on" && option != "-ot" && option != "-actn" && option != "-ownr" && option != "-ace")
            return usage("unknown option " + option);
        if (i + 1 == arguments.size()) return usage("option " + option + " needs a value");
        values[option] = arguments[i + 1];
    }
    if (values["-on"].empty()) return usage("the object name (-on) is missing");
    if (values["-ot"] != "reg") return usage("only registry keys (-ot reg) are handled");

    SetAclCommand command;
    command.key = values["-on"];
    if (values["-actn"] == "setowner") {
        command.account = accountOf(values["-ownr"]);
        if (command.account.empty()) return usage("setowner needs -ownr \"n:ACCOUNT\"");
        return command;
    }
    if (values["-actn"] == "ace") {
        const std::string& entry = values["-ace"];
        const auto separator = entry.find(";p:");
        command.action = SetAclAction::AddEntry;
        command.account = accountOf(std::string_view(entry).substr(0, separator));
        if (command.account.empty() || separator == std::string::npos || separator + 3 == entry.size())
            return usage("ace needs -ace \"n:ACCOUNT;p:PERMISSIONS\"");
        command.permissions = entry.substr(separator + 3);
        return command;
    }
    return usage("the action (-actn) must be setowner or ace");
}

}  // namespace veldra::outside
