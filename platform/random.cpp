// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/random.h"

namespace tobrin {

namespace {
unsigned long next = 1;
}

// The C standard's example generator: portable, and exactly 15 bits wide.
int rand() {
    next = next * 1103515245 + 12345;
    return static_cast<int>((next / 65536) % (RAND_MAX15 + 1));
}

double frand() {
    return rand() / static_cast<double>(RAND_MAX15);
}

void srand(unsigned seed) {
    next = seed;
}

}  // namespace tobrin
