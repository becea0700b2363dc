// Records of one kind in large chunks, so making a point or a polygon is no heap
// allocation of its own and neighbours made together lie together. A destroyed
// record's place is reused; records never move while they live.
#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace ombrel {

template <class T>
class RecordPool {
public:
    RecordPool() = default;
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;
    ~RecordPool() { freeChunks(); }

    T* make() {
        void* at;
        if (free_) {
            at = free_;
            free_ = free_->next;
        } else {
            if (used_ == kChunk) {
                chunks_.push_back(static_cast<Cell*>(::operator new(sizeof(Cell) * kChunk)));
                used_ = 0;
            }
            at = &chunks_.back()[used_++];
        }
        T* obj;
        try {
            obj = new (at) T();
        } catch (...) {
            push(static_cast<Cell*>(at));
            throw;
        }
        ++live_;
        return obj;
    }

    void release(T* obj) {
        obj->~T();
        push(reinterpret_cast<Cell*>(obj));
        // The last record gone: give the chunks back (a closed world frees its memory).
        if (--live_ == 0) freeChunks();
    }

    std::size_t live() const { return live_; }

private:
    static constexpr std::size_t kChunk = 4096;
    union Cell {
        Cell* next;
        alignas(T) unsigned char bytes[sizeof(T)];
    };

    void push(Cell* c) {
        c->next = free_;
        free_ = c;
    }
    void freeChunks() {
        for (Cell* c : chunks_) ::operator delete(c);
        chunks_.clear();
        free_ = nullptr;
        used_ = kChunk;
    }

    std::vector<Cell*> chunks_;
    Cell* free_ = nullptr;
    std::size_t used_ = kChunk;
    std::size_t live_ = 0;
};

}  // namespace ombrel
