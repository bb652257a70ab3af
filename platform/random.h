// SPDX-License-Identifier: GPL-3.0-or-later
// The game's random numbers: a 15-bit generator, whatever range the C library's rand has.
#pragma once

namespace tobrin {

const int RAND_MAX15 = 32767;

// A sequence of its own. The game's ocean draws from one; whatever must not change what
// happens in it (which of three sounds plays, say) draws from another.
class Sequence {
public:
    explicit Sequence(unsigned seed = 1) : next(seed) {}
    int Next();  // from 0 to 32767 inclusive
    void Seed(unsigned seed) { next = seed; }

private:
    unsigned long next;
};

// The next number of the ocean's sequence, from 0 to 32767 inclusive.
int rand();

// The next number scaled into [0, 1].
double frand();

// Starts the sequence afresh; the same seed gives the same sequence on every platform.
void srand(unsigned seed);

}  // namespace tobrin
