// SPDX-License-Identifier: GPL-3.0-or-later
// One registered instance per class, reachable from anywhere.
#pragma once

#include <cassert>

// T derives from Singleton<T>. A second instance, or a look-up while none exists, is a
// programming error and fails an assertion. The base part is what is registered: T is only
// converted to once it has been built, in GetPointer.
template <typename T>
class Singleton {
public:
    static Singleton<T>* the_singleton;

    Singleton() {
        assert(!the_singleton);
        the_singleton = this;
    }
    ~Singleton() {
        assert(the_singleton);
        the_singleton = nullptr;
    }
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    static T* GetPointer() {
        assert(the_singleton);
        return static_cast<T*>(the_singleton);
    }
};

template <typename T>
Singleton<T>* Singleton<T>::the_singleton = nullptr;
