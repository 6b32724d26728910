#include "existing/ExistingFileChecks.h"

#include <algorithm>
#include <system_error>

#include "platform/PathText.h"
#include "platform/Text.h"

namespace veldra::existing {
namespace {

struct FieldRule {
    const char* extension;
    Msg wrongExtension;
};

FieldRule ruleOf(FileField field) {
    switch (field) {
        case FileField::Tdb: return {"tdb", Msg::MsgExistingTdbInvalid};
        case FileField::OverviewMap: return {"img", Msg::MsgExistingPreviewInvalid};
        case FileField::TypeFile: return {"typ", Msg::MsgExistingTypInvalid};
        case FileField::IndexFile: return {"mdx", Msg::MsgExistingIdxInvalid};
        case FileField::MdrFile: return {"img", Msg::MsgExistingMdrInvalid};
        case FileField::TrafficFile: return {"trf", Msg::MsgExistingTrfInvalid};
    }
    return {"", Msg::MsgExistingFileMissing};
}

}  // namespace

Status checkFileField(FileField field, const std::optional<std::filesystem::path>& file) {
    if (!file || file->empty()) return {};
    const std::string name = platform::pathText(file->filename());
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) > 127; }))
        return fail(Msg::MsgNoSpecialCharacters);
    const FieldRule rule = ruleOf(field);
    const std::string text = platform::pathText(*file);
    if (text.size() < 3 || platform::toLowerAscii(text.substr(text.size() - 3)) != rule.extension)
        return fail(rule.wrongExtension);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*file, ec)) return fail(Msg::MsgExistingFileMissing);
    return {};
}

}  // namespace veldra::existing
