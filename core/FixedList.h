// A list array with a fixed design limit: indices 0..Upper, filled from 1 with a
// separate count. Storage grows only as far as it is written; an index past the
// limit raises an error naming the list instead of writing past it.
#pragma once

#include "CoreError.h"

#include <cstdint>
#include <string>
#include <vector>

template <typename T, int32_t Upper>
class FixedList {
public:
    static constexpr int32_t upperBound = Upper;

    explicit FixedList(const char* what) : what_(what) {}

    T& operator[](int32_t i) {
        check(i);
        if (static_cast<std::size_t>(i) >= items_.size()) items_.resize(static_cast<std::size_t>(i) + 1);
        return items_[static_cast<std::size_t>(i)];
    }
    T operator[](int32_t i) const {
        check(i);
        return static_cast<std::size_t>(i) < items_.size() ? items_[static_cast<std::size_t>(i)] : T{};
    }
    // Refuses a count the list cannot hold, before anything is written.
    void checkCount(int64_t count) const {
        if (count > Upper)
            core::raiseError(std::string("Too many ") + what_ + ": the editor holds at most " +
                             std::to_string(Upper));
    }
    // Drops the storage; every entry reads as its start value again.
    void clear() { items_.clear(); }

private:
    void check(int32_t i) const {
        if (i < 0 || i > Upper)
            core::raiseError(std::string("Too many ") + what_ + ": the editor holds at most " +
                             std::to_string(Upper) + " (index " + std::to_string(i) + ")");
    }

    const char* what_;
    std::vector<T> items_;
};
