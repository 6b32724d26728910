#include "registration/TypeFileNames.h"

#include "platform/PathText.h"
#include "formats/TypStamp.h"
#include "platform/RegistryPath.h"

namespace veldra::registration {

bool isTypeFile(const std::optional<std::filesystem::path>& chosen) {
    return chosen && platform::foldCase(platform::pathText(chosen->extension())) == ".typ";
}

std::string registryTypeFileName(std::uint16_t fid) {
    return std::to_string(fid & 0xFF) + std::to_string(fid >> 8) + ".TYP";
}

Status checkTypeFileContent(const std::filesystem::path& file) {
    if (!formats::readTypIds(file).ids) return fail(Msg::MsgNotTypeFileContent, platform::pathText(file));
    return {};
}

void copyStampedTypeFile(app::Session& session, const std::filesystem::path& source,
                         const std::filesystem::path& target, std::uint16_t fid) {
    if (!formats::writeStampedTypCopy(source, target, fid))
        session.dialogs.inform(CloseHostFirst, app::DefaultTitle, app::MessageIcon::Critical);
}

}  // namespace veldra::registration
