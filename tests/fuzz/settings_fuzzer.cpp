// Feeds arbitrary bytes to the settings parser: as a whole settings file when the first byte is
// even, else as one command-line setting. Whatever comes in, nothing may crash or hang, and the
// file written back afterwards must hold every registered setting, one line each.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/log.h"
#include "engine/settings.h"
#include "game/game.h"
#include "platform/message_box.h"

namespace {

void IgnoreBox(const char*, const char*) {}

// Everything is done in a private folder; the log goes there too.
struct Workplace {
    Workplace() {
        char pattern[] = "/tmp/tobrin_fuzz_XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0) {
            std::abort();
        }
        SetMessageBoxFunction(IgnoreBox);
        Log::Get().Initalise();
    }
};

int CountLines(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    int lines = 0;
    while (std::getline(file, line)) {
        ++lines;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static Workplace workplace;
    static Game game;
    Settings* settings = new Settings;
    game.SetDefaultSettings(settings);
    std::string text(reinterpret_cast<const char*>(data), size);
    if (size > 0 && data[0] % 2 == 0) {
        std::ofstream("input.cfg", std::ios::binary | std::ios::trunc) << text.substr(1);
        settings->ParseFile("input.cfg");
    } else {
        settings->ParseSetting(size > 0 ? text.substr(1) : text);
    }
    int registered = static_cast<int>(settings->variables.size());
    if (!settings->WriteFile("output.cfg") || CountLines("output.cfg") != registered) {
        std::abort();
    }
    delete settings;
    return 0;
}
