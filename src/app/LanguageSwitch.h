#pragma once
// Switching the interface language from the menu, and the action that puts the
// German design captions back.

#include "core/Result.h"

namespace veldra::app {

class MessageCatalog;
class Settings;
struct CatalogContext;

// The language menu: German becomes English, English becomes German, an
// unset language becomes English; the catalog is refilled at the end.
Status switchLanguage(Settings& settings, MessageCatalog& catalog, const CatalogContext& context);

// The `Label9` action: German design captions, `Language` = "Deu", refill.
Status restoreGerman(Settings& settings, MessageCatalog& catalog, const CatalogContext& context);

}  // namespace veldra::app
