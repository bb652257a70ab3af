// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/random.h"

namespace tobrin {

namespace {
Sequence ocean;
}

// The C standard's example generator: portable, and exactly 15 bits wide. The state is kept
// to 32 bits, so a sequence is the same where unsigned long is wider.
int Sequence::Next() {
    next = (next * 1103515245 + 12345) & 0xffffffffUL;
    return static_cast<int>((next / 65536) % (RAND_MAX15 + 1));
}

int rand() {
    return ocean.Next();
}

double frand() {
    return rand() / static_cast<double>(RAND_MAX15);
}

void srand(unsigned seed) {
    ocean.Seed(seed);
}

}  // namespace tobrin
