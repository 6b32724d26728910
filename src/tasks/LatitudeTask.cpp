#include "tasks/LatitudeTask.h"

#include "formats/FileSizeLimits.h"
#include "platform/CappedFileRead.h"
#include "platform/FileNames.h"
#include "platform/PathText.h"
#include "tasks/TaskChecks.h"
#include "tools/LatitudeSuggestion.h"

namespace veldra::tasks {
namespace {

struct ChosenMapset {
    tools::MapProduct product;
    std::filesystem::path tdb;  // native
};

// The installed mapset the target names: by its own choice, or by FID and PID.
Result<ChosenMapset> chooseInstalledMapset(app::Session& session, const LatitudeTarget& target) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    MapsetChoice choice;
    if (target.mapset) {
        choice = *target.mapset;
    } else {
        const auto product = tools::productFromTexts(target.fid, target.pid);
        if (!product) return product.failure();
        choice = {std::to_string(product->fid), product->pid};
    }
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    const auto entry = chooseMapset(catalog, choice);
    if (!entry) return entry.failure();
    if (entry->package) {
        const auto& record = catalog.packages.records[entry->index];
        auto product = tools::productFromTexts(record.fid, record.pid);
        if (!product) return product.failure();
        return ChosenMapset{*product, record.tdb};
    }
    const auto& record = catalog.registry[entry->index];
    auto product = tools::productFromTexts(record.fid, record.pid);
    if (!product) return product.failure();
    return ChosenMapset{*product, session.host.paths.toNative(record.tdb)};
}

struct Suggestion {
    tools::MapProduct product;
    int latitude = 0;
};

Result<Suggestion> suggest(app::Session& session, const LatitudeTarget& target) {
    const auto chosen = chooseInstalledMapset(session, target);
    if (!chosen) return chosen.failure();
    const auto tdb = chosen->tdb.empty() ? std::nullopt : platform::findIgnoringCase(chosen->tdb);
    if (!tdb) return fail(app::MsgMapDoesNotExist);
    const auto bytes = platform::readFileCapped(*tdb, formats::TdbFileLimit);
    if (!bytes) return bytes.failure();
    const auto latitude = tools::suggestedLatitude(*bytes);
    if (!latitude) return fail(Msg::MsgTdbListsNoTiles, platform::pathText(*tdb));
    return Suggestion{chosen->product, *latitude};
}

Result<tools::MapProduct> chooseProduct(app::Session& session, const LatitudeTarget& target) {
    if (!target.mapset) return tools::productFromTexts(target.fid, target.pid);
    auto chosen = chooseInstalledMapset(session, target);
    if (!chosen) return chosen.failure();
    return chosen->product;
}

}  // namespace

Result<std::string> showLatitude(app::Session& session, const LatitudeTarget& target) {
    const auto product = chooseProduct(session, target);
    if (!product) return product.failure();
    return tools::shownLatitude(session, *product);
}

Result<std::string> setLatitude(app::Session& session, const LatitudeTarget& target, const std::string& typed) {
    const auto product = chooseProduct(session, target);
    if (!product) return product.failure();
    if (auto stored = tools::setLatitudeFromText(session, *product, typed); !stored) return stored.failure();
    return tools::shownLatitude(session, *product);
}

Result<std::string> setAutomaticLatitude(app::Session& session, const LatitudeTarget& target) {
    const auto product = chooseProduct(session, target);
    if (!product) return product.failure();
    if (auto removed = tools::removeLatitude(session, *product); !removed) return removed.failure();
    return tools::shownLatitude(session, *product);
}

Result<int> suggestLatitude(app::Session& session, const LatitudeTarget& target) {
    auto suggestion = suggest(session, target);
    if (!suggestion) return suggestion.failure();
    return suggestion->latitude;
}

Result<std::string> setSuggestedLatitude(app::Session& session, const LatitudeTarget& target) {
    const auto suggestion = suggest(session, target);
    if (!suggestion) return suggestion.failure();
    if (!session.dialogs.ask(session.msg(Msg::MsgAskSetSuggestedLatitude) + std::to_string(suggestion->latitude) +
                             "° ?"))
        return declined();
    if (auto stored = tools::storeLatitude(session, suggestion->product, suggestion->latitude); !stored)
        return stored.failure();
    return tools::shownLatitude(session, suggestion->product);
}

}  // namespace veldra::tasks
