#include "tools/CheckLinks.h"

#include <algorithm>
#include <cctype>

#include "gmap/GmapFolders.h"
#include "platform/PathText.h"
#include "platform/ShellLinks.h"
#include "platform/Text.h"

namespace veldra::tools {
namespace fs = std::filesystem;
namespace {

bool isLinkFile(const fs::path& file) {
    std::string extension = platform::pathText(file.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".lnk";
}

// A link that cannot be read as one is not ours to judge: only a readable
// target that is missing counts.
void checkFolder(const app::Session& session, const fs::path& folder, std::vector<CheckFinding>& findings) {
    std::error_code ec;
    std::vector<fs::path> links;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && isLinkFile(entry.path())) links.push_back(entry.path());
    }
    std::sort(links.begin(), links.end());
    const std::string hostFolder = session.host.paths.toHost(folder);
    for (const fs::path& link : links) {
        const auto target = platform::readShellLinkFile(link, hostFolder).path;
        if (!target) continue;
        const std::string hostTarget(platform::trimBlanks(*target));
        const fs::path native = session.host.paths.toNative(hostTarget);
        std::error_code exists;
        if (!native.empty() && fs::exists(native, exists)) continue;
        CheckFinding finding{CheckKind::DeadLink, platform::pathText(link.filename())};
        finding.detail = platform::pathText(link) + " -> " + hostTarget;
        finding.file = link;
        finding.repairable = true;
        findings.push_back(std::move(finding));
    }
}

}  // namespace

std::vector<CheckFinding> findDeadLinks(const app::Session& session) {
    std::vector<CheckFinding> findings;
    std::vector<fs::path> searched;
    for (const auto& folder : {gmap::garminMapsFolder(session, platform::csidl::CommonAppData),
                               gmap::garminMapsFolder(session, platform::csidl::AppData),
                               gmap::baseCampMapsFolder(session)}) {
        std::error_code ec;
        if (!folder || !fs::is_directory(*folder, ec)) continue;
        // The user's folder may be the common one on a host that keeps both in one place.
        if (std::find(searched.begin(), searched.end(), *folder) != searched.end()) continue;
        searched.push_back(*folder);
        checkFolder(session, *folder, findings);
    }
    return findings;
}

}  // namespace veldra::tools
