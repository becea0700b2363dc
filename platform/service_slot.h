// One replaceable instance per platform service: the real one by default, a test
// double while one is installed.
#pragma once

#include <memory>

namespace platform {

template <class Service>
class ServiceSlot {
public:
    using Factory = std::unique_ptr<Service> (*)();

    explicit constexpr ServiceSlot(Factory makeDefault) : makeDefault_(makeDefault) {}

    Service& get() {
        if (installed_) return *installed_;
        if (!default_) default_ = makeDefault_();
        return *default_;
    }

    // Returns what was installed before, so a double can put it back.
    Service* install(Service* s) {
        Service* previous = installed_;
        installed_ = s;
        return previous;
    }

private:
    Factory makeDefault_;
    Service* installed_ = nullptr;
    std::unique_ptr<Service> default_;
};

}  // namespace platform
