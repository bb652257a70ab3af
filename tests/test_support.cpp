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
