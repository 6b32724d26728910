#pragma once
// Switching the interface language from the menu, and the action that puts the
// German design captions back.

namespace veldra::app {

class MessageCatalog;
class Settings;
struct CatalogContext;

// The `Sprachwahl` menu: German becomes English, English becomes German, an
// unset language becomes English; the catalog is refilled at the end.
void switchLanguage(Settings& settings, MessageCatalog& catalog, const CatalogContext& context);

// The `Label9` action: German design captions, `Language` = "Deu", refill.
void restoreGerman(Settings& settings, MessageCatalog& catalog, const CatalogContext& context);

}  // namespace veldra::app
