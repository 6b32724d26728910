#include "gmt/GmtCommand.h"

#include <map>
#include <optional>

#include "platform/Text.h"

namespace veldra::outside {
namespace {

// "FID,PID" or "FID".
bool parseIds(std::string_view text, GmtCommand& command) {
    const auto comma = text.find(',');
    const auto fid = platform::parseDecimal<std::uint16_t>(text.substr(0, comma));
    const auto pid = comma == std::string_view::npos ? std::optional<std::uint16_t>(1)
                                                     : platform::parseDecimal<std::uint16_t>(text.substr(comma + 1));
    if (!fid || !pid) return false;
    command.fid = *fid;
    command.pid = *pid;
    return true;
}

GmtUsageError usage(std::string message) { return {std::move(message)}; }

}  // namespace

std::string gmtUsage() {
    return "usage: gmt.exe -S -f FID,PID -m NAME -n BASE -o DIR [-c CODEPAGE] -@ LISTFILE\n"
           "       gmt.exe -S -o DIR IMAGE\n"
           "       gmt.exe -G -o DIR IMAGE\n"
           "       gmt.exe -g -o DIR IMAGE\n";
}

std::variant<GmtCommand, GmtUsageError> parseGmtCommand(const std::vector<std::string>& arguments) {
    std::optional<char> action;
    std::map<std::string, std::string> values;
    std::vector<std::string> inputs;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "-S" || a == "-G" || a == "-g") {
            if (action && *action != a[1]) return usage("only one of -S, -G and -g may be given");
            action = a[1];
        } else if (a == "-f" || a == "-m" || a == "-n" || a == "-o" || a == "-c" || a == "-@") {
            if (i + 1 == arguments.size()) return usage("option " + a + " needs a value");
            values[a] = arguments[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return usage("unknown option " + a);
        } else {
            inputs.push_back(a);
        }
    }
    if (!action) return usage("one of -S, -G and -g is needed");
    if (!values.contains("-o")) return usage("the output folder (-o) is missing");

    GmtCommand command;
    command.outputDir = values["-o"];
    if (values.contains("-@")) {
        if (*action != 'S') return usage("a list file (-@) goes with -S only");
        if (!inputs.empty()) return usage("give either a list file or an image, not both");
        if (!values.contains("-f") || !parseIds(values["-f"], command))
            return usage("-S with a list file needs -f FID,PID (numbers up to 65535)");
        if (!values.contains("-n") || values["-n"].empty()) return usage("-S with a list file needs -n BASE");
        command.mode = GmtMode::MakeMapset;
        command.listFile = values["-@"];
        command.baseName = values["-n"];
        command.mapsetName = values.contains("-m") ? values["-m"] : command.baseName;
        if (values.contains("-c")) {
            const auto codePage = platform::parseDecimal<std::uint32_t>(values["-c"]);
            if (!codePage) return usage("the code page (-c) must be a number");
            command.codePage = *codePage;
        }
        return command;
    }
    if (values.contains("-f") || values.contains("-m") || values.contains("-n") || values.contains("-c"))
        return usage("-f, -m, -n and -c go with -S and a list file only");
    if (inputs.size() != 1) return usage("exactly one image is needed");
    command.input = inputs.front();
    command.mode = *action == 'S' ? GmtMode::SplitImage : *action == 'G' ? GmtMode::SplitFamilies : GmtMode::Unpack;
    return command;
}

}  // namespace veldra::outside
