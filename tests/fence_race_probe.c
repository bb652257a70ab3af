// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the real game to widen a race in Mesa's software renderer: its worker threads
// signal a fence by locking the fence's mutex, counting, broadcasting and unlocking, while the
// main thread may free a fence it sees counted without taking that lock. Each worker sleeps a
// little after every broadcast, with the mutex still held, and every mutex destroyed while some
// thread holds it is counted (and waited for, so that the game lives on to say so). Those freed
// inside the swap (libGLX_mesa on the stack) are counted apart: the swap waits for its frame,
// and the driver's own race there, which any program meets, is not the game's doing; any other
// comes from a flush the game made. At exit the counts go to standard error:
//   fence race probe: N broadcasts slowed, M mutexes destroyed while held, S of them at a swap
#define _GNU_SOURCE
#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>
#include <sched.h>
#include <stdatomic.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

static atomic_long slowedBroadcasts;
static atomic_long destroyedWhileHeld;
static atomic_long destroyedAtSwap;

static int IsRendererThread(void) {
    char name[16] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    return strncmp(name, "llvmpipe-", 9) == 0;
}

int pthread_cond_broadcast(pthread_cond_t* condition) {
    static int (*real)(pthread_cond_t*);
    if (!real) {
        real = (int (*)(pthread_cond_t*))dlvsym(RTLD_NEXT, "pthread_cond_broadcast", "GLIBC_2.3.2");
    }
    int result = real(condition);
    if (IsRendererThread()) {
        atomic_fetch_add(&slowedBroadcasts, 1);
        // Varied, since which width of the window the main thread falls into changes with
        // the frame.
        static _Thread_local unsigned seed = 12345;
        seed = seed * 1103515245u + 12345u;
        struct timespec pause = {0, (10 + (seed >> 16) % 100) * 1000};
        nanosleep(&pause, NULL);
    }
    return result;
}

// Where a held mutex was destroyed, for the test's message should it fail; true when that was
// inside the swap.
static int TellWhereHeldMutexDestroyed(void) {
    void* frames[32];
    int count = backtrace(frames, 32);
    char name[16] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    fprintf(stderr, "a held mutex destroyed by thread '%s' at:\n", name);
    backtrace_symbols_fd(frames, count, 2);
    for (int i = 0; i < count; ++i) {
        Dl_info place;
        if (dladdr(frames[i], &place) && place.dli_fname &&
            strstr(place.dli_fname, "libGLX_mesa")) {
            return 1;
        }
    }
    return 0;
}

int pthread_mutex_destroy(pthread_mutex_t* mutex) {
    static int (*real)(pthread_mutex_t*);
    if (!real) {
        real = (int (*)(pthread_mutex_t*))dlsym(RTLD_NEXT, "pthread_mutex_destroy");
    }
    int locked = pthread_mutex_trylock(mutex) == 0;
    if (!locked) {
        atomic_fetch_add(&destroyedWhileHeld, 1);
        if (TellWhereHeldMutexDestroyed()) {
            atomic_fetch_add(&destroyedAtSwap, 1);
        }
        // Bounded: a mutex its own thread holds would never come free.
        for (int tries = 0; tries < 100000 && !locked; ++tries) {
            sched_yield();
            locked = pthread_mutex_trylock(mutex) == 0;
        }
    }
    if (locked) {
        pthread_mutex_unlock(mutex);
    }
    return real(mutex);
}

__attribute__((destructor)) static void Report(void) {
    fprintf(stderr,
            "fence race probe: %ld broadcasts slowed, %ld mutexes destroyed while held, %ld of "
            "them at a swap\n",
            atomic_load(&slowedBroadcasts), atomic_load(&destroyedWhileHeld),
            atomic_load(&destroyedAtSwap));
}
