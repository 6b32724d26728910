#include "app/LanguageSwitch.h"

#include "app/MessageCatalog.h"
#include "app/Settings.h"

namespace veldra::app {

Status switchLanguage(Settings& settings, MessageCatalog& catalog, const CatalogContext& context) {
    const std::string language = settings.language();
    Status stored;
    if (language == "Deu") {
        stored = settings.setLanguage("Eng");
        catalog.setControl("Sprachwahl", "English");
        catalog.fill(settings.language(), context);
    } else if (language == "Eng") {
        stored = settings.setLanguage("Deu");
        catalog.setControl("Sprachwahl", "Deutsch");
        if (stored) stored = restoreGerman(settings, catalog, context);
    } else {
        stored = settings.setLanguage("Eng");
    }
    catalog.fill(settings.language(), context);
    return stored;
}

Status restoreGerman(Settings& settings, MessageCatalog& catalog, const CatalogContext& context) {
    catalog.applyGermanDesignCaptions();
    auto stored = settings.setLanguage("Deu");
    catalog.fill(settings.language(), context);
    return stored;
}

}  // namespace veldra::app
