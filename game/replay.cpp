// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/replay.h"

#include <cmath>
#include <cstring>

#include "game/game_constants.h"

namespace {

// Little-endian throughout, whatever the machine, so a desktop's file plays in a browser.
class Writer {
public:
    std::string bytes;

    void Unsigned(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>((value >> (8 * i)) & 0xff);
        }
    }
    void Double(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        Unsigned(bits, 8);
    }
};

class Reader {
public:
    const std::string& bytes;
    std::size_t at = 0;

    explicit Reader(const std::string& from) : bytes(from) {}
    bool Has(std::size_t size) const { return bytes.size() - at >= size; }
    std::uint64_t Unsigned(int size) {
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[at++])) << (8 * i);
        }
        return value;
    }
    double Double() {
        std::uint64_t bits = Unsigned(8);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

const int FLAG_CLIMB = 1, FLAG_PAUSE = 2, FLAG_BANNER_RIGHT = 4;
const std::uint8_t CONTROL_BITS = REPLAY_CLIMB | REPLAY_PAUSE | REPLAY_AWAY;
// magic, format, version length, score, date, frames, seed, four doubles, flags
const std::size_t FIXED_HEADER = 8 + 2 + 1 + 8 + 8 + 4 + 4 + 4 * 8 + 1;

bool Refuse(std::string& problem, const char* why) {
    problem = why;
    return false;
}

bool ReadHeader(Reader& in, Replay& replay, std::string& problem) {
    if (!in.Has(FIXED_HEADER) || in.bytes.compare(0, 8, REPLAY_MAGIC) != 0) {
        return Refuse(problem, "not a recording of this game");
    }
    in.at = 8;
    if (in.Unsigned(2) != REPLAY_FORMAT) {
        return Refuse(problem, "a recording of another format");
    }
    std::size_t length = in.Unsigned(1);
    if (length > REPLAY_MAX_VERSION || !in.Has(length + FIXED_HEADER - 11)) {
        return Refuse(problem, "the header is cut short");
    }
    replay.version = in.bytes.substr(in.at, length);
    in.at += length;
    replay.score = static_cast<long>(static_cast<std::int64_t>(in.Unsigned(8)));
    replay.date = static_cast<std::int64_t>(in.Unsigned(8));
    replay.frames = static_cast<std::uint32_t>(in.Unsigned(4));
    ReplayStart& start = replay.start;
    start.seed = static_cast<std::uint32_t>(in.Unsigned(4));
    start.subX = in.Double();
    start.subAngle = in.Double();
    start.fishieTimer = in.Double();
    start.seedWeedTimer = in.Double();
    unsigned flags = static_cast<unsigned>(in.Unsigned(1));
    start.climbHeld = flags & FLAG_CLIMB;
    start.pauseHeld = flags & FLAG_PAUSE;
    start.bannerLeavesRight = flags & FLAG_BANNER_RIGHT;
    bool finite = std::isfinite(start.subX) && std::isfinite(start.subAngle) &&
                  std::isfinite(start.fishieTimer) && std::isfinite(start.seedWeedTimer);
    if (replay.score < 0 || replay.frames > REPLAY_MAX_STEPS || flags > 7 || !finite) {
        return Refuse(problem, "the header holds impossible values");
    }
    return true;
}

}  // namespace

void Replay::Begin(const ReplayStart& from) {
    start = from;
    score = 0;
    date = 0;
    frames = 0;
    full = false;
    steps.clear();
    steps.reserve(REPLAY_MAX_STEPS);
}

bool Replay::Add(std::uint32_t milliseconds, std::uint8_t controls) {
    bool longStep = milliseconds >= REPLAY_LONG_STEP;
    if (full || steps.size() + (longStep ? 3 : 1) > REPLAY_MAX_STEPS) {
        full = true;
        return false;
    }
    std::uint16_t bits =
        static_cast<std::uint16_t>((controls & CONTROL_BITS) << REPLAY_CONTROL_SHIFT);
    if (longStep) {
        steps.push_back(bits | REPLAY_LONG_STEP);
        steps.push_back(static_cast<std::uint16_t>(milliseconds & 0xffff));
        steps.push_back(static_cast<std::uint16_t>(milliseconds >> 16));
    } else {
        steps.push_back(static_cast<std::uint16_t>(bits | milliseconds));
    }
    ++frames;
    return true;
}

bool Replay::Next(std::size_t& cursor, ReplayFrame& frame) const {
    if (cursor >= steps.size()) {
        return false;
    }
    std::uint16_t step = steps[cursor++];
    frame.controls = static_cast<std::uint8_t>(step >> REPLAY_CONTROL_SHIFT);
    frame.milliseconds = step & REPLAY_LONG_STEP;
    if (frame.milliseconds == REPLAY_LONG_STEP) {
        if (steps.size() - cursor < 2) {
            --cursor;  // a long step cut short is no frame
            return false;
        }
        frame.milliseconds = steps[cursor] | static_cast<std::uint32_t>(steps[cursor + 1]) << 16;
        cursor += 2;
    }
    return true;
}

std::string Replay::Encode() const {
    Writer out;
    out.bytes.reserve(REPLAY_HEADER_MAX + 2 * steps.size());
    out.bytes = REPLAY_MAGIC;
    out.Unsigned(REPLAY_FORMAT, 2);
    std::string kept = version.substr(0, REPLAY_MAX_VERSION);
    out.Unsigned(kept.size(), 1);
    out.bytes += kept;
    out.Unsigned(static_cast<std::uint64_t>(static_cast<std::int64_t>(score)), 8);
    out.Unsigned(static_cast<std::uint64_t>(date), 8);
    out.Unsigned(frames, 4);
    out.Unsigned(start.seed, 4);
    out.Double(start.subX);
    out.Double(start.subAngle);
    out.Double(start.fishieTimer);
    out.Double(start.seedWeedTimer);
    out.Unsigned((start.climbHeld ? FLAG_CLIMB : 0) | (start.pauseHeld ? FLAG_PAUSE : 0) |
                     (start.bannerLeavesRight ? FLAG_BANNER_RIGHT : 0),
                 1);
    for (std::uint16_t step : steps) {
        out.Unsigned(step, 2);
    }
    return out.bytes;
}

bool Replay::Decode(const std::string& bytes, Replay& replay, std::string& problem) {
    if (bytes.size() > REPLAY_MAX_BYTES) {
        return Refuse(problem, "too large for a recording");
    }
    Reader in(bytes);
    Replay read;
    if (!ReadHeader(in, read, problem)) {
        return false;
    }
    if ((bytes.size() - in.at) % 2 != 0) {
        return Refuse(problem, "its frames are cut short");
    }
    read.steps.reserve((bytes.size() - in.at) / 2);
    while (in.Has(2)) {
        read.steps.push_back(static_cast<std::uint16_t>(in.Unsigned(2)));
    }
    std::uint32_t counted = 0;
    ReplayFrame frame;
    std::size_t cursor = 0;
    while (counted <= read.frames && read.Next(cursor, frame)) {
        ++counted;
    }
    if (counted != read.frames || cursor != read.steps.size()) {
        return Refuse(problem, "its frames are not as many as its header says");
    }
    replay = std::move(read);
    return true;
}
