// SPDX-License-Identifier: GPL-3.0-or-later
// A game as the simulation took it, to be played again exactly: what the ocean took over
// from the menu when the game began, then each frame's step and the controls read in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A recorded frame's controls, as bits.
enum REPLAY_CONTROLS { REPLAY_CLIMB = 1, REPLAY_PAUSE = 2, REPLAY_AWAY = 4 };

// What a new game carries over from the menu, besides the seed its ocean starts from.
struct ReplayStart {
    std::uint32_t seed = 0;
    double subX = 0.0;  // the submarine keeps its place and heading
    double subAngle = 0.0;
    double fishieTimer = 0.0;  // the spawners' clocks run on across games
    double seedWeedTimer = 0.0;
    bool climbHeld = false;  // the climb and pause controls of the frame before
    bool pauseHeld = false;
    bool bannerLeavesRight = true;  // the side the paused banner leaves to next
};

struct ReplayFrame {
    std::uint32_t milliseconds = 0;
    std::uint8_t controls = 0;  // REPLAY_CONTROLS
};

class Replay {
public:
    ReplayStart start;
    long score = 0;         // points when the recording ended
    std::int64_t date = 0;  // seconds since 1970, when it ended
    std::string version;    // the game's that played it
    std::uint32_t frames = 0;
    bool full = false;  // it ran out of room and stopped; its end is not the game's
    // Two bytes a frame: the milliseconds in the low 13 bits, the controls above them. A
    // frame of 8191 ms or more writes 8191, then its milliseconds in two more words.
    std::vector<std::uint16_t> steps;

    // Empties it for a new game. Room for a long game is taken here, once, so that recording a
    // frame never allocates.
    void Begin(const ReplayStart& from);
    // Keeps one more frame; false, keeping nothing, once the room is used up.
    bool Add(std::uint32_t milliseconds, std::uint8_t controls);
    // The frame at the cursor, which then moves on; false past the last one.
    bool Next(std::size_t& cursor, ReplayFrame& frame) const;

    std::string Encode() const;
    // Refuses, saying why, anything but a whole recording of this format: the right header,
    // no more than REPLAY_MAX_BYTES, and exactly as many frames as the header counts.
    static bool Decode(const std::string& bytes, Replay& replay, std::string& problem);
};
