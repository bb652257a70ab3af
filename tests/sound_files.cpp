#include "sound_files.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

class Bytes {
public:
    std::vector<std::uint8_t> data;
    void U8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) {
        U8(v & 0xff);
        U8((v >> 8) & 0xff);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xffff);
        U16(v >> 16);
    }
    void Text(const std::string& text, size_t width) {
        for (size_t i = 0; i < width; ++i) {
            U8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
        }
    }
    void Zeros(size_t count) { data.insert(data.end(), count, 0); }
    void Save(const std::string& path) const {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), data.size());
    }
};

}  // namespace

void WriteTestWav(const std::string& path, double seconds, double frequency) {
    const unsigned rate = 22050;
    const unsigned frames = static_cast<unsigned>(seconds * rate);
    Bytes wav;
    wav.Text("RIFF", 4);
    wav.U32(36 + frames * 2);
    wav.Text("WAVEfmt ", 8);
    wav.U32(16);
    wav.U16(1);  // PCM
    wav.U16(1);  // mono
    wav.U32(rate);
    wav.U32(rate * 2);
    wav.U16(2);
    wav.U16(16);
    wav.Text("data", 4);
    wav.U32(frames * 2);
    for (unsigned i = 0; i < frames; ++i) {
        double sample = 0.5 * std::sin(2 * 3.141592653589793 * frequency * i / rate);
        wav.U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(sample * 32767)));
    }
    wav.Save(path);
}

void WriteTestXm(const std::string& path) {
    const int rows = 16;
    const unsigned sampleLength = 64;  // one period of a square wave, looped
    Bytes xm;
    xm.Text("Extended Module: ", 17);
    xm.Text("test tune", 20);
    xm.U8(0x1a);
    xm.Text("tobrin tests", 20);
    xm.U16(0x0104);
    xm.U32(276);    // header size from here
    xm.U16(1);      // song length in orders
    xm.U16(0);      // restart position
    xm.U16(1);      // channels
    xm.U16(1);      // patterns
    xm.U16(1);      // instruments
    xm.U16(1);      // linear frequency table
    xm.U16(6);      // ticks per row
    xm.U16(125);    // beats per minute
    xm.Zeros(256);  // order table: pattern 0 only

    Bytes pattern;
    pattern.U8(0x80 | 0x01 | 0x02);  // packed: note and instrument follow
    pattern.U8(49);                  // C-4
    pattern.U8(1);
    for (int row = 1; row < rows; ++row) {
        pattern.U8(0x80);  // empty
    }
    xm.U32(9);
    xm.U8(0);
    xm.U16(rows);
    xm.U16(static_cast<unsigned>(pattern.data.size()));
    xm.data.insert(xm.data.end(), pattern.data.begin(), pattern.data.end());

    xm.U32(263);  // instrument header size
    xm.Text("square", 22);
    xm.U8(0);
    xm.U16(1);     // samples
    xm.U32(40);    // sample header size
    xm.Zeros(96);  // every note plays sample 0
    xm.Zeros(96);  // no envelopes
    xm.Zeros(14);
    xm.U16(0);  // fadeout
    xm.Zeros(22);

    xm.U32(sampleLength);
    xm.U32(0);             // loop start
    xm.U32(sampleLength);  // loop length
    xm.U8(48);             // volume
    xm.U8(0);              // finetune
    xm.U8(1);              // forward loop, 8-bit
    xm.U8(128);            // panning
    xm.U8(0);              // relative note
    xm.U8(0);
    xm.Text("square", 22);
    int previous = 0;
    for (unsigned i = 0; i < sampleLength; ++i) {
        int value = i < sampleLength / 2 ? 40 : -40;
        xm.U8(static_cast<unsigned>((value - previous) & 0xff));  // stored as deltas
        previous = value;
    }
    xm.Save(path);
}
