// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/command_line.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/log.h"
#include "engine/settings.h"
#include "game/game_constants.h"

namespace {

struct SettingMeaning {
    const char* name;
    const char* meaning;
};

const SettingMeaning SETTING_MEANINGS[] = {
    {CONFIG_STRING_HIGH_SCORE, "the best score so far"},
    {CONFIG_STRING_SOUND_EFFECTS, "1 for sound effects (F2 switches)"},
    {CONFIG_STRING_SOUND_MUSIC, "1 for music (F3 switches)"},
    {CONFIG_STRING_VIDEO_BPP, "colour depth asked for, in bits per pixel"},
    {CONFIG_STRING_VIDEO_FULLSCREEN, "1 for full screen (F11 or Alt+Enter switches)"},
    {CONFIG_STRING_VIDEO_HEIGHT, "window height in pixels"},
    {CONFIG_STRING_VIDEO_VSYNC, "1 to wait for the display at each frame"},
    {CONFIG_STRING_VIDEO_WIDTH, "window width in pixels"},
};

const char* Meaning(const std::string& name) {
    for (const SettingMeaning& setting : SETTING_MEANINGS) {
        if (name == setting.name) {
            return setting.meaning;
        }
    }
    return "";
}

void PrintSettings(std::FILE* out, Settings& defaults) {
    for (auto& [name, dator] : defaults.variables) {
        std::string setting = name + "=" + std::string(*dator);
        std::fprintf(out, "  %-20s %s\n", setting.c_str(), Meaning(name));
    }
}

void PrintUsage(std::FILE* out, Settings& defaults) {
    std::fprintf(out,
                 "Usage: %s [SETTING]...\n"
                 "       %s [SETTING]... --watch FILE\n"
                 "       %s --help | --version\n"
                 "\n"
                 "%s: a small arcade game. Each SETTING is NAME=VALUE, +NAME (a switch\n"
                 "on) or -NAME (a switch off); it overrides %s and is saved there at exit.\n"
                 "\n"
                 "Settings, with their defaults:\n",
                 GAME_COMMAND, GAME_COMMAND, GAME_COMMAND, GAME_TITLE, GAME_SETTINGS_FILENAME);
    PrintSettings(out, defaults);
    std::fprintf(out,
                 "\n"
                 "Keys:\n"
                 "  Enter           start a game from the title menu\n"
                 "  Space           hold to climb, release to dive; each press and release\n"
                 "                  speeds it up\n"
                 "  Pause, P        pause and resume\n"
                 "  F2              sound effects on or off\n"
                 "  F3              music on or off\n"
                 "  F11, Alt+Enter  window or full screen\n"
                 "  R               watch your best game from the menu; any key leaves it\n"
                 "  Escape          quit\n"
                 "The left mouse button does as Space in a game and as Enter in the menu.\n"
                 "A pad's face buttons, shoulders, triggers and d-pad up climb; its bottom\n"
                 "face button or Start starts a game, and Start pauses; Back or Select shows\n"
                 "the best game; a pad quits nothing.\n"
                 "A pad the game does not know: JOY_RAW=1 makes every button climb and the\n"
                 "highest-numbered one pause; JOY_PAUSE_BUTTON=N makes button N pause.\n"
                 "\n"
                 "Files, in the working folder (the installed %s command plays in\n"
                 "$XDG_DATA_HOME/tobrin, ~/.local/share/tobrin by default):\n"
                 "  %-12s the settings and the high score\n"
                 "  %-12s the recording of the best game, which --watch FILE plays\n"
                 "               (and exits), as it plays any recording sent to you\n"
                 "  log.txt      what happened in the last run\n"
                 "  resources/   the pictures and sounds\n"
                 "\n"
                 "Exit status: %d after a normal quit, %d when start-up failed or a recording\n"
                 "was refused, %d for an unknown option.\n",
                 GAME_COMMAND, GAME_SETTINGS_FILENAME, REPLAY_BEST_FILENAME, GAME_EXIT_NORMAL,
                 GAME_EXIT_START_FAILED, GAME_EXIT_USAGE);
}

}  // namespace

const char* WatchedFile(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--watch") == 0) {
            return argv[i + 1];
        }
    }
    return nullptr;
}

bool IsWatchArgument(int argc, char** argv, int index) {
    return std::strcmp(argv[index], "--watch") == 0 ||
           (index > 1 && std::strcmp(argv[index - 1], "--watch") == 0 && index < argc);
}

int AnswerOptions(int argc, char** argv, Settings& defaults) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--watch") == 0 && i + 1 < argc) {
            ++i;  // its file may begin with anything
            continue;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage(stdout, defaults);
            return GAME_EXIT_NORMAL;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", GAME_COMMAND, TOBRIN_VERSION);
            return GAME_EXIT_NORMAL;
        }
        if (std::strncmp(argv[i], "--", 2) == 0) {
            bool bareWatch = std::strcmp(argv[i], "--watch") == 0;
            std::fprintf(stderr,
                         bareWatch ? "%s: %s needs a FILE\n\n" : "%s: unknown option %s\n\n",
                         GAME_COMMAND, argv[i]);
            PrintUsage(stderr, defaults);
            return GAME_EXIT_USAGE;
        }
    }
    return -1;
}

void ReportUnknownSetting(Settings* settings, const char* argument) {
    std::string name = Settings::SettingName(argument);
    if (settings->GetVariable(name)) {
        return;
    }
    std::fprintf(stderr, "%s: no setting is named \"%s\"; %s ignored (--help lists them)\n",
                 GAME_COMMAND, name.c_str(), argument);
    Log::Get().Write(LOG_APP, "Unknown setting on the command line: %s", argument);
}
