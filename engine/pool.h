// SPDX-License-Identifier: GPL-3.0-or-later
// Reusable storage for many short-lived objects of one kind.
#pragma once

#include <list>
#include <new>

#include "engine/log.h"

// The base of every pooled class. Reset is the only virtual: the pool calls it on every
// element it hands out.
class PoolElement {
public:
    bool killed = false;  // set by Kill; the next Prune takes the element back

    virtual void Reset() = 0;
    void Kill() { killed = true; }

protected:
    ~PoolElement() = default;
};

// Elements are created a whole chunk at a time and only freed with the pool, so once the
// pool has grown to its working size, New, Kill and Prune just move list nodes about.
template <typename T>
class Pool {
public:
    int chunkSize;           // elements created each time the pool runs dry
    std::list<T*> liveList;  // in use, the most recently handed out at the front
    std::list<T*> freeList;  // ready to hand out, the next one at the front

    explicit Pool(int chunkSize) : chunkSize(chunkSize) {}
    virtual ~Pool() {
        Deallocate();
        CleanList();
    }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    // A live, reset element; null when the pool could not grow.
    T* New() {
        if (freeList.empty() && (!Allocate() || freeList.empty())) {
            Log::Get().Write(LOG_ERROR, "Out of memory in pool!");
            return nullptr;
        }
        liveList.splice(liveList.begin(), freeList, freeList.begin());
        T* element = liveList.front();
        element->killed = false;
        element->Reset();
        return element;
    }

    bool Allocate() {
        for (int i = 0; i < chunkSize; ++i) {
            T* element = new (std::nothrow) T;
            if (!element) {
                Log::Get().Write(LOG_APP, "Cannot allocate memory in object pool!");
                return false;
            }
            try {
                freeList.push_back(element);
            } catch (const std::bad_alloc&) {
                delete element;
                Log::Get().Write(LOG_APP, "Cannot allocate memory in object pool!");
                return false;
            }
        }
        return true;
    }

    // Killed elements go to the front of the free list, so the last one pruned is the next
    // one handed out. Their killed flag stays set until then.
    void Prune() {
        for (auto it = liveList.begin(); it != liveList.end();) {
            auto current = it++;
            if (*current && (*current)->killed) {
                freeList.splice(freeList.begin(), liveList, current);
            }
        }
    }

    void PruneAll() {
        while (!liveList.empty()) {
            freeList.splice(freeList.begin(), liveList, liveList.begin());
        }
    }

    // Visits every live element, newest first, killed ones included. The function may Kill
    // elements and may call New, whose element is not visited in this walk; it must not
    // Prune or free.
    void Iterate(void (*function)(T*)) {
        for (auto it = liveList.begin(); it != liveList.end();) {
            T* element = *it++;
            if (!element) {
                Log::Get().Write(LOG_APP, "This pool pointer should not be NULL!");
                continue;
            }
            function(element);
        }
    }

    int Size() const { return static_cast<int>(liveList.size()); }

    void Deallocate() { FreeAll(freeList); }
    void CleanList() { FreeAll(liveList); }

private:
    static void FreeAll(std::list<T*>& list) {
        while (!list.empty()) {
            T* element = list.front();
            list.pop_front();
            delete element;
        }
    }
};
