#pragma once
// A group of registry changes that is stored whole or not at all. A task
// opens one before its first change and commits it after its last; leaving
// the scope without a commit drops every change. Opened while another edit
// runs, it joins that one and the outer edit decides.

#include "core/Result.h"
#include "platform/Registry.h"

namespace veldra::app {

class RegistryEdit {
public:
    // Fails when the registry cannot be edited now (a running wineserver,
    // another VELDRA changing it, a registry file that is not one).
    static Result<RegistryEdit> open(platform::Registry& registry);

    RegistryEdit(RegistryEdit&& other) noexcept;
    RegistryEdit& operator=(RegistryEdit&&) = delete;
    RegistryEdit(const RegistryEdit&) = delete;
    RegistryEdit& operator=(const RegistryEdit&) = delete;
    ~RegistryEdit();

    // Stores the changes; a joined edit leaves that to the outer one.
    Status commit();

private:
    RegistryEdit(platform::Registry& registry, bool own) : registry_(&registry), own_(own) {}

    platform::Registry* registry_;
    bool own_;
    bool open_ = true;
};

}  // namespace veldra::app
