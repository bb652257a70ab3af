// Writes small real sound files for the tests: a WAV sample and an XM module.
#pragma once

#include <string>

// A mono 16-bit sine tone.
void WriteTestWav(const std::string& path, double seconds, double frequency = 440.0);

// A one-channel module: one pattern of 16 rows, one instrument with one looped sample,
// playing a note on the first row.
void WriteTestXm(const std::string& path);
