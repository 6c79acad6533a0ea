#pragma once

#include <utility>

namespace dotvane {

// The process-wide instance of a service of the operating system: the
// system's own, which `System` makes on first use, unless a replacement is
// installed. One instantiation per service interface is its install point;
// tests put their stand-ins in place for a scope with Scoped.
template <class Service, Service& (*System)()>
class ServicePoint {
public:
    ServicePoint() = delete;

    // The installed replacement, else the system's own.
    static Service& Current() { return installed_ != nullptr ? *installed_ : System(); }

    // Installs a replacement (nullptr returns to the system's own) and gives
    // back the one it replaces.
    static Service* Install(Service* service) { return std::exchange(installed_, service); }

    // Installs a replacement for its lifetime; the one it replaced comes back
    // when it ends.
    class Scoped {
    public:
        explicit Scoped(Service& service) : previous_(Install(&service)) {}
        ~Scoped() { Install(previous_); }
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        Service* previous_;
    };

private:
    static inline Service* installed_ = nullptr;
};

}  // namespace dotvane
