#include "app/LanguageSwitch.h"

#include "app/MessageCatalog.h"
#include "app/Settings.h"

namespace veldra::app {

void switchLanguage(Settings& settings, MessageCatalog& catalog, const CatalogContext& context) {
    const std::string language = settings.language();
    if (language == "Deu") {
        settings.setLanguage("Eng");
        catalog.setControl("Sprachwahl", "English");
        catalog.fill(settings.language(), context);
    } else if (language == "Eng") {
        settings.setLanguage("Deu");
        catalog.setControl("Sprachwahl", "Deutsch");
        restoreGerman(settings, catalog, context);
    } else {
        settings.setLanguage("Eng");
    }
    catalog.fill(settings.language(), context);
}

void restoreGerman(Settings& settings, MessageCatalog& catalog, const CatalogContext& context) {
    catalog.applyGermanDesignCaptions();
    settings.setLanguage("Deu");
    catalog.fill(settings.language(), context);
}

}  // namespace veldra::app
