#include "registration/HostRegistryLayout.h"

#include "platform/Cp1252.h"

namespace veldra::registration {

std::string_view kindName(RecordKind kind) {
    switch (kind) {
        case RecordKind::Families: return "Families";
        case RecordKind::FamiliesNT: return "FamiliesNT";
        case RecordKind::Products: return "Products";
    }
    return {};
}

std::string branchKey(const app::Session& session, RecordKind kind) {
    return session.mapSourceBase() + std::string(kindName(kind)) + "\\";
}

std::string familyIdText(std::uint16_t fid) {
    const char bytes[2] = {static_cast<char>(fid & 0xFF), static_cast<char>(fid >> 8)};
    return platform::cp1252ToUtf8(std::string_view(bytes, 2));
}

std::string familyPart(std::string_view subkey) {
    const auto slash = subkey.find('\\');
    return std::string(slash == std::string_view::npos ? subkey : subkey.substr(0, slash + 1));
}

}  // namespace veldra::registration
