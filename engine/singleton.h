// One registered instance per class, reachable from anywhere.
#pragma once

#include <cassert>

// T derives from Singleton<T> as its first base, so the registered address is the object's own.
// A second instance, or a look-up while none exists, is a programming error and fails an assertion.
template <typename T>
class Singleton {
public:
    static T* the_singleton;

    Singleton() {
        assert(!the_singleton);
        the_singleton = static_cast<T*>(this);
    }
    ~Singleton() {
        assert(the_singleton);
        the_singleton = nullptr;
    }
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    static T* GetPointer() {
        assert(the_singleton);
        return the_singleton;
    }
};

template <typename T>
T* Singleton<T>::the_singleton = nullptr;
