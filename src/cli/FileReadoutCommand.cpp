// `veldra inspect FILE...`: shows what VELDRA reads from TDB, IMG, TYP, MDX and
// gmap tile files. The reading is done by formats/; this only prints it.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "formats/FileReadout.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"

namespace veldra::cli {
namespace {

using formats::FileKind;
using formats::Inspection;

std::string checksumText(const CliContext& context, const std::optional<bool>& ok) {
    if (!ok) return context.msg(Msg::TextInspectNoTrailer);
    return context.msg(*ok ? Msg::TextInspectChecksumValid : Msg::TextInspectChecksumInvalid);
}

// What is wrong with a file, in the user's language; the reader's own words
// follow with --verbose.
std::string problemText(const CliContext& context, const std::string& file, const Inspection& seen) {
    Msg id = Msg::MsgInspectUnknownKind;
    switch (seen.kind) {
        case FileKind::Tdb: id = Msg::MsgInspectNotTdb; break;
        case FileKind::Img:
        case FileKind::GmapTile: id = Msg::MsgInspectNotTile; break;
        case FileKind::Typ: id = Msg::MsgInspectNotTyp; break;
        case FileKind::Mdx: id = Msg::MsgInspectNotMdx; break;
        case FileKind::Unknown: id = seen.notAFile ? Msg::MsgInspectNotAFile : Msg::MsgInspectUnknownKind; break;
    }
    std::string text = context.msg(id) + file;
    if (context.options.verbose) text += "\n  " + seen.error;
    return text;
}

std::string hexByte(std::uint8_t value) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    return std::string("0x") + Digits[value >> 4] + Digits[value & 0xF];
}

nlohmann::json toJson(const std::string& file, const Inspection& seen) {
    // A name may hold any bytes; JSON carries only valid UTF-8.
    nlohmann::json data = {{"file", platform::validUtf8(file)}, {"kind", formats::fileKindName(seen.kind)}};
    if (seen.header) {
        data["pid"] = seen.header->pid;
        data["fid"] = seen.header->fid;
        data["version"] = seen.header->version;
        data["name"] = platform::cp1252ToUtf8(seen.header->shownName());
        data["checksumOk"] = seen.checksumOk ? nlohmann::json(*seen.checksumOk) : nlohmann::json(nullptr);
        data["tiles"] = nlohmann::json::array();
        for (const auto& tile : seen.tiles)
            data["tiles"].push_back({{"number", tile.number}, {"description", platform::cp1252ToUtf8(tile.description)}});
    }
    if (seen.xorByte) data["xor"] = *seen.xorByte;
    if (seen.drawPriority) data["drawPriority"] = *seen.drawPriority;
    if (seen.typ) {
        data["fid"] = seen.typ->fid;
        data["pid"] = seen.typ->pid;
    }
    if (seen.kind == FileKind::Mdx && seen.error.empty()) {
        data["records"] = nlohmann::json::array();
        for (const auto& record : seen.records) data["records"].push_back({{"pid", record.pid}, {"fid", record.fid}});
    }
    if (!seen.error.empty()) data["error"] = seen.error;
    return data;
}

void printText(const CliContext& context, const std::string& file, const Inspection& seen) {
    std::ostream& out = context.out;
    const auto label = [&context](Msg id) { return "  " + context.msg(id); };
    out << file << '\n';
    // A file of no known kind is named, and standard error says why.
    if (seen.kind != FileKind::Unknown) out << label(Msg::TextInspectKind) << formats::fileKindName(seen.kind) << '\n';
    if (seen.header) {
        out << "  PID: " << seen.header->pid << '\n'
            << "  FID: " << seen.header->fid << '\n'
            << label(Msg::TextInspectVersion) << seen.header->version << '\n'
            << label(Msg::TextInspectName) << platform::cp1252ToUtf8(seen.header->shownName()) << '\n'
            << label(Msg::TextInspectChecksum) << checksumText(context, seen.checksumOk) << '\n'
            << label(Msg::TextInspectTiles) << seen.tiles.size() << '\n';
        for (const auto& tile : seen.tiles) out << "    " << platform::cp1252ToUtf8(formats::imgTileLine(tile)) << '\n';
    }
    if (seen.xorByte) out << label(Msg::TextInspectXorByte) << hexByte(*seen.xorByte) << '\n';
    if (seen.drawPriority) out << label(Msg::TextInspectDrawPriority) << int{*seen.drawPriority} << '\n';
    if (seen.typ) out << "  FID: " << seen.typ->fid << '\n' << "  PID: " << seen.typ->pid << '\n';
    if (seen.kind == FileKind::Mdx && seen.error.empty()) {
        out << label(Msg::TextInspectRecords) << seen.records.size() << '\n';
        for (const auto& record : seen.records)
            out << "    " << formats::tileFileName(record.mapNumber) << "  PID " << record.pid << "  FID " << record.fid
                << '\n';
    }
}

int runInspect(CliContext& context, const std::vector<std::string>& files) {
    int exitCode = ExitDone;
    nlohmann::json all = nlohmann::json::array();
    for (const auto& file : files) {
        const Inspection seen = formats::inspectFile(platform::pathFromText(file));
        if (!seen.error.empty()) exitCode = ExitFailed;
        if (context.options.json) {
            all.push_back(toJson(file, seen));
            continue;
        }
        printText(context, file, seen);
        if (!seen.error.empty()) context.err << problemText(context, file, seen) << '\n';
    }
    if (context.options.json) context.out << all.dump(2) << '\n';
    return exitCode;
}

}  // namespace

void addInspectCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto files = std::make_shared<std::vector<std::string>>();
    auto* sub = app.add_subcommand("inspect", context.msg(Msg::HelpInspect));
    sub->add_option("files", *files, context.msg(Msg::HelpInspectFiles))->required();
    sub->callback([&context, &exitCode, files] { exitCode = runInspect(context, *files); });
}

}  // namespace veldra::cli
