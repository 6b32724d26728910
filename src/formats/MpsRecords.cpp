#include "formats/MpsRecords.h"

#include <algorithm>

namespace veldra::formats {
namespace {

constexpr std::size_t RecordPrefix = 3;
constexpr std::size_t IdsLength = 4;  // u16 PID, u16 FID

// Reads the fields of a record body in order; any field past the end fails the whole record.
class BodyReader {
public:
    explicit BodyReader(ByteView body) : body_(body) {}
    bool ok() const { return ok_; }
    std::uint16_t u16() {
        const auto value = u16At(body_, at_);
        return take(value, 2);
    }
    std::uint32_t u32() {
        const auto value = u32At(body_, at_);
        return take(value, 4);
    }
    std::string text() {
        const auto rest = body_.subspan(std::min(at_, body_.size()));
        const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (end == rest.end()) {
            ok_ = false;
            return {};
        }
        std::string value(rest.begin(), end);
        at_ += value.size() + 1;
        return value;
    }

private:
    template <typename T>
    T take(const std::optional<T>& value, std::size_t width) {
        if (!value) {
            ok_ = false;
            return 0;
        }
        at_ += width;
        return *value;
    }

    ByteView body_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

bool decode(const MpsRecord& record, MpsContents& contents) {
    BodyReader in(record.body);
    switch (record.type) {
        case MpsTileRecord: {
            MpsTile tile;
            tile.pid = in.u16();
            tile.fid = in.u16();
            tile.mapNumber = in.u32();
            tile.seriesName = in.text();
            tile.description = in.text();
            tile.areaName = in.text();
            tile.mapId = in.u32();
            contents.tiles.push_back(std::move(tile));
            break;
        }
        case MpsFamilyRecord: {
            MpsFamily family;
            family.pid = in.u16();
            family.fid = in.u16();
            family.name = in.text();
            contents.families.push_back(std::move(family));
            break;
        }
        case MpsMapsetRecord:
            contents.mapsetName = in.text();
            break;
        case MpsProductRecord:
            in.u16();
            in.u16();
            break;
        default:
            break;
    }
    return in.ok();
}

}  // namespace

MpsRead parseMps(ByteView mps) {
    MpsContents contents;
    std::size_t at = 0;
    while (at < mps.size() && mps[at] != 0) {
        const auto length = u16At(mps, at + 1);
        if (!length || mps.size() - at - RecordPrefix < *length) {
            return {std::nullopt, "MPS record at offset " + std::to_string(at) + " reaches past the end of the subfile"};
        }
        const auto body = mps.subspan(at + RecordPrefix, *length);
        MpsRecord record{mps[at], {body.begin(), body.end()}};
        if (!decode(record, contents)) {
            return {std::nullopt, "MPS record '" + std::string(1, static_cast<char>(record.type)) + "' at offset " +
                                      std::to_string(at) + " is too short for its fields"};
        }
        contents.records.push_back(std::move(record));
        at += RecordPrefix + *length;
    }
    if (std::any_of(mps.begin() + static_cast<std::ptrdiff_t>(at), mps.end(), [](std::uint8_t b) { return b != 0; })) {
        return {std::nullopt, "MPS data at offset " + std::to_string(at) + " is neither a record nor padding"};
    }
    return {std::move(contents), {}};
}

std::optional<std::uint16_t> mpsRecordFid(const MpsRecord& record) {
    if (record.type != MpsTileRecord && record.type != MpsFamilyRecord && record.type != MpsProductRecord)
        return std::nullopt;
    if (record.body.size() < IdsLength) return std::nullopt;
    return u16At(record.body, 2);
}

std::vector<std::uint8_t> serializeMps(const std::vector<MpsRecord>& records) {
    std::vector<std::uint8_t> bytes;
    for (const auto& record : records) {
        const auto length = u16Bytes(static_cast<std::uint16_t>(record.body.size()));
        bytes.push_back(record.type);
        bytes.insert(bytes.end(), length.begin(), length.end());
        bytes.insert(bytes.end(), record.body.begin(), record.body.end());
    }
    return bytes;
}

}  // namespace veldra::formats
