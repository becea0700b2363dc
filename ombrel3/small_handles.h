// A list of handles held inside its owner up to N entries and on the heap beyond,
// so the usual polygon (three or four points, a light or two) costs no allocation.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>

namespace ombrel {

template <std::size_t N>
class SmallHandles {
public:
    SmallHandles() = default;
    SmallHandles(std::initializer_list<int32_t> items) { assign(items.begin(), items.end()); }
    SmallHandles(const SmallHandles& o) { assign(o.begin(), o.end()); }
    SmallHandles(SmallHandles&& o) noexcept { take(o); }
    SmallHandles& operator=(const SmallHandles& o) {
        if (this != &o) assign(o.begin(), o.end());
        return *this;
    }
    SmallHandles& operator=(SmallHandles&& o) noexcept {
        if (this != &o) {
            release();
            take(o);
        }
        return *this;
    }
    ~SmallHandles() { release(); }

    template <class It>
    void assign(It first, It last) {
        size_ = 0;
        reserve(static_cast<uint32_t>(last - first));
        for (; first != last; ++first) data()[size_++] = static_cast<int32_t>(*first);
    }

    int32_t* data() { return onHeap() ? heap_ : inline_; }
    const int32_t* data() const { return onHeap() ? heap_ : inline_; }
    int32_t* begin() { return data(); }
    int32_t* end() { return data() + size_; }
    const int32_t* begin() const { return data(); }
    const int32_t* end() const { return data() + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    int32_t front() const { return data()[0]; }
    int32_t back() const { return data()[size_ - 1]; }
    int32_t operator[](std::size_t i) const { return data()[i]; }
    int32_t& operator[](std::size_t i) { return data()[i]; }

    void push_back(int32_t h) {
        if (size_ == capacity_) reserve(capacity_ * 2);
        data()[size_++] = h;
    }
    void clear() { size_ = 0; }
    void reserve(uint32_t n) {
        if (n <= capacity_) return;
        auto* fresh = new int32_t[n];
        std::memcpy(fresh, data(), size_ * sizeof(int32_t));
        if (onHeap()) delete[] heap_;
        heap_ = fresh;
        capacity_ = n;
    }
    // Keeps the order of what stays.
    template <class Pred>
    std::size_t eraseIf(Pred pred) {
        int32_t* e = std::remove_if(begin(), end(), pred);
        std::size_t gone = static_cast<std::size_t>(end() - e);
        size_ -= static_cast<uint32_t>(gone);
        return gone;
    }

private:
    bool onHeap() const { return capacity_ > N; }
    void release() {
        if (onHeap()) delete[] heap_;
        capacity_ = N;
        size_ = 0;
    }
    void take(SmallHandles& o) {
        size_ = o.size_;
        capacity_ = o.capacity_;
        if (o.onHeap())
            heap_ = o.heap_;
        else
            std::memcpy(inline_, o.inline_, sizeof inline_);
        o.size_ = 0;
        o.capacity_ = N;
    }

    uint32_t size_ = 0, capacity_ = N;
    union {
        int32_t inline_[N];
        int32_t* heap_;
    };
};

}  // namespace ombrel
