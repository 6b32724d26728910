#include "gmap/MapFolderUnpacking.h"

#include "platform/PathText.h"

namespace veldra::gmap {
namespace {

std::string shortArgument(const app::Session& session, const std::filesystem::path& path) {
    const std::string text = platform::pathText(session.host.shell.shortPath(path));
    return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
}

}  // namespace

std::string unpackCommandLine(const app::Session& session, const std::filesystem::path& folder,
                              const std::filesystem::path& image) {
    return "\"" + platform::pathText(session.host.programFolder / "gmt") + "\" -g -o " +
           shortArgument(session, folder) + " " + shortArgument(session, image);
}

void unpackIntoFolder(app::Session& session, const std::filesystem::path& folder,
                      const std::filesystem::path& image) {
    session.host.processes.runAndWait(unpackCommandLine(session, folder, image));
}

}  // namespace veldra::gmap
