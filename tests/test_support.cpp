// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/log.h"

std::vector<std::string>& CapturedBoxes() {
    static std::vector<std::string> boxes;
    return boxes;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

void Plant(const char* path, const std::string& what) {
    std::filesystem::remove(path);
    if (what == "|") {
        mkfifo(path, 0644);
    } else if (what.rfind("-> ", 0) == 0) {
        std::filesystem::create_symlink(what.substr(3), path);
    } else {
        WriteTextFile(path, what);
    }
}

bool HaveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

void NeedTool(const std::string& command, const std::string& package) {
    if (std::system(("command -v " + command + " > /dev/null").c_str()) != 0) {
        FAIL() << "needs " << command << ": install the Debian package " << package
               << " (tools/install_deps.sh does)";
    }
}

void InTempDir::SetUp() {
    previousDir = std::filesystem::current_path().string();
    char pattern[] = "/tmp/tobrin_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    std::filesystem::current_path(dir);
    ASSERT_TRUE(Log::Get().Initalise());
    CapturedBoxes().clear();
}

void InTempDir::TearDown() {
    std::filesystem::current_path(previousDir);
    std::filesystem::remove_all(dir);
}

std::vector<std::string> InTempDir::LogLines() {
    std::vector<std::string> lines;
    std::stringstream log(ReadTextFile(dir + "/log.txt"));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}

int InTempDir::LinesStartingWith(const std::string& start) {
    std::vector<std::string> lines = LogLines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](auto& line) { return line.rfind(start, 0) == 0; }));
}

std::string InTempDir::LastLineStartingWith(const std::string& start) {
    std::vector<std::string> lines = LogLines();
    auto found = std::find_if(lines.rbegin(), lines.rend(),
                              [&](auto& line) { return line.rfind(start, 0) == 0; });
    return found == lines.rend() ? "" : *found;
}

// Last: the X11 headers' macros (None, Status) would rename words of the headers above.
#include <SDL.h>
#include <SDL_syswm.h>

bool TakeKeyboardFocus() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || !info.info.x11.display) {
        return false;
    }
    Window window = info.info.x11.wmwindow ? info.info.x11.wmwindow : info.info.x11.window;
    XSetInputFocus(info.info.x11.display, window, RevertToParent, CurrentTime);
    XFlush(info.info.x11.display);
    for (int wait = 0; wait < 100 && !(SDL_GetAppState() & SDL_APPINPUTFOCUS); ++wait) {
        SDL_PumpEvents();
        SDL_Delay(10);
    }
    return (SDL_GetAppState() & SDL_APPINPUTFOCUS) != 0;
}
