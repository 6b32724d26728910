#include "app/RegistryEdit.h"

namespace veldra::app {

Result<RegistryEdit> RegistryEdit::open(platform::Registry& registry) {
    if (registry.inEdit()) return RegistryEdit(registry, false);
    if (auto begun = registry.beginEdit(); !begun) return begun.failure();
    return RegistryEdit(registry, true);
}

RegistryEdit::RegistryEdit(RegistryEdit&& other) noexcept
    : registry_(other.registry_), own_(other.own_), open_(other.open_) {
    other.open_ = false;
}

RegistryEdit::~RegistryEdit() {
    if (open_ && own_) registry_->rollbackEdit();
}

Status RegistryEdit::commit() {
    if (!open_ || !own_) return {};
    open_ = false;
    return registry_->commitEdit();
}

}  // namespace veldra::app
