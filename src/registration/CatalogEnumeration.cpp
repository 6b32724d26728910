#include "registration/CatalogEnumeration.h"

#include <unordered_set>

#include "app/FailureText.h"
#include "app/RegistryEdit.h"
#include "platform/RegistryPath.h"
#include "registration/RegistryText.h"

namespace veldra::registration {
namespace {

class Walk {
public:
    explicit Walk(app::Session& session) : session_(session), registry_(session.host.registry) {}

    void products() {
        const std::string key = branchKey(session_, RecordKind::Products);
        if (!registry_.canOpenForWriting(Machine, key)) return;
        forEachSubkey(key, [&](const std::string& product) {
            records_.push_back(readRecord(key, key + product, RecordKind::Products, product));
        });
    }

    // The family names of a branch; a family in the misplaced layout is
    // offered for repair instead.
    void collectFamilies(RecordKind kind) {
        const std::string key = branchKey(session_, kind);
        if (!registry_.canOpenForWriting(Machine, key)) return;
        forEachSubkey(key, [&](const std::string& family) {
            if (!repairIfMisplaced(kind, key, family)) familyNames_.push_back(family);
        });
        if (kind == RecordKind::Families) firstBranchNames_ = familyNames_.size();
    }

    // Every product subkey of the families collected so far, each name once.
    // The names of one branch are distinct as the registry folds them; a name
    // of the second branch may repeat one of the first.
    void families(RecordKind kind) {
        const std::string branch = branchKey(session_, kind);
        // No family key lies under a branch that is not there: no look for each name.
        if (!registry_.keyExists(Machine, branch)) return;
        // Folded once each, so the check costs the same however many families there are.
        std::unordered_set<std::string> firstBranch;
        if (firstBranchNames_ < familyNames_.size()) {
            firstBranch.reserve(firstBranchNames_);
            for (std::size_t i = 0; i < firstBranchNames_; ++i) firstBranch.insert(platform::foldCase(familyNames_[i]));
        }
        for (std::size_t i = 0; i < familyNames_.size(); ++i) {
            const std::string& family = familyNames_[i];
            if (i >= firstBranchNames_ && firstBranch.contains(platform::foldCase(family))) continue;
            const std::string key = branch + family + "\\";
            if (!registry_.canOpenForWriting(Machine, key)) continue;
            forEachSubkey(key, [&](const std::string& product) {
                records_.push_back(readRecord(key, key + product, kind, family + "\\" + product));
            });
        }
    }

    std::vector<RegistryRecord> take() { return std::move(records_); }

private:
    // Each subkey of `key`; a refused enumeration is shown after the names it
    // gave, with the key and the last name read.
    template <class Each>
    void forEachSubkey(const std::string& key, Each each) {
        const auto listed = registry_.enumerateSubkeys(Machine, key);
        for (const std::string& name : listed.names) each(name);
        if (listed.error == platform::regerror::AccessDenied)
            session_.dialogs.inform(session_.msg(app::Msg::MsgTdbValueMissing) + key +
                                    (listed.names.empty() ? "" : listed.names.back()));
    }

    std::string text(const std::string& key, const char* name) const {
        return queryRegistryText(registry_, key, name).value_or("");
    }

    // `parentKey` holds the type file; `valueKey` the three paths.
    RegistryRecord readRecord(const std::string& parentKey, const std::string& valueKey, RecordKind kind,
                              std::string subkey) const {
        RegistryRecord record;
        record.kind = kind;
        record.subkey = std::move(subkey);
        record.parentKey = parentKey;
        record.valueKey = valueKey;
        // Each key looked up once for all the values read from it; the
        // parent first, as the subkey list was just read from it.
        const auto parent = registry_.values(Machine, parentKey);
        const auto paths = registry_.values(Machine, valueKey);
        const auto textOf = [](const std::vector<platform::NamedRegistryValue>& values, std::string_view name) {
            const platform::RegistryValue* value = namedValue(values, name);
            return value ? registryText(*value).value_or("") : std::string();
        };
        record.tdb = trimRight(textOf(paths, "TDB"));
        record.overview = trimRight(textOf(paths, "BMAP"));
        record.loc = trimRight(textOf(paths, "LOC"));
        const std::string typ = trimBlanks(textOf(parent, "Typ"));
        record.typ = typ.empty() ? NoTypeFileMarker : typ;
        if (const auto* id = namedValue(parent, "ID"); id && id->data.size() >= 2)
            record.registeredFid = static_cast<std::uint16_t>(id->data[0] | id->data[1] << 8);
        return record;
    }

    // A family key without its subkey "1" but with TDB, Bmap and Loc of its own.
    bool repairIfMisplaced(RecordKind kind, const std::string& branch, const std::string& family) {
        const std::string familyKey = branch + family;
        if (registry_.keyExists(Machine, familyKey + "\\1")) return false;
        const std::string tdb = trimBlanks(text(familyKey, "TDB"));
        const std::string overview = trimBlanks(text(familyKey, "Bmap"));
        const std::string loc = trimBlanks(text(familyKey, "Loc"));
        if (tdb.empty() || overview.empty() || loc.empty()) return false;

        if (!session_.dialogs.ask(session_.msg(app::Msg::MsgMissingKey) + branch + family +
                                  session_.msg(app::Msg::MsgCanRepair))) {
            if (kind == RecordKind::Families)
                session_.dialogs.inform(session_.msg(app::Msg::MsgMissingKeysRepair), app::DefaultTitle,
                                        app::MessageIcon::Critical);
            return true;
        }
        if (auto repaired = moveIntoProductKey(familyKey, tdb, overview, loc); !repaired) {
            if (repaired.failure().kind != FailureKind::AlreadyShown)
                session_.dialogs.inform(describeFailure(repaired.failure(), session_.catalog));
            return true;
        }
        // The repaired family's values, listed under the family's name until the registry is read again.
        records_.push_back(readRecord(familyKey + "\\", familyKey + "\\1", kind, family));
        return true;
    }

    // The repair is a change like any other: one registry edit, stored whole or not at all.
    Status moveIntoProductKey(const std::string& familyKey, const std::string& tdb, const std::string& overview,
                              const std::string& loc) {
        auto edit = app::RegistryEdit::open(registry_);
        if (!edit) return edit.failure();
        auto& routines = session_.routines;
        for (const auto& [name, value] : {std::pair{"TDB", tdb}, {"BMAP", overview}, {"LOC", loc}})
            if (auto stored = routines.storeStringVerified(Machine, familyKey + "\\1", name, value); !stored)
                return stored;
        for (const char* name : {"Loc", "Bmap", "TDB"})
            if (auto removed = routines.deleteValue(Machine, familyKey, name); !removed) return removed;
        return edit->commit();
    }

    app::Session& session_;
    platform::Registry& registry_;
    std::vector<RegistryRecord> records_;
    std::vector<std::string> familyNames_;
    std::size_t firstBranchNames_ = 0;  // how many of familyNames_ came from "Families"
};

}  // namespace

std::vector<RegistryRecord> enumerateRegistryRecords(app::Session& session) {
    Walk walk(session);
    walk.products();
    walk.collectFamilies(RecordKind::Families);
    walk.families(RecordKind::Families);
    walk.collectFamilies(RecordKind::FamiliesNT);
    walk.families(RecordKind::FamiliesNT);
    return walk.take();
}

}  // namespace veldra::registration
