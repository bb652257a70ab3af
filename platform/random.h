// SPDX-License-Identifier: GPL-3.0-or-later
// The game's random numbers: a 15-bit generator, whatever range the C library's rand has.
#pragma once

namespace tobrin {

const int RAND_MAX15 = 32767;

// The next number, from 0 to 32767 inclusive.
int rand();

// The next number scaled into [0, 1].
double frand();

// Starts the sequence afresh; the same seed gives the same sequence on every platform.
void srand(unsigned seed);

}  // namespace tobrin
