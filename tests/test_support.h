// Shared helpers of the test suite: a private working folder per test, captured message
// boxes, files and processes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every message box shown during the tests, as "title|text"; none of them blocks.
std::vector<std::string>& CapturedBoxes();

std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
bool HaveDisplay();
// Gives this process's window the keyboard, as a click would, and waits until SDL knows it:
// tests side by side on one X server take it from each other. False if it did not come.
bool TakeKeyboardFocus();
// Puts at the path a FIFO ("|"), a link ("-> target") or a file holding the text.
void Plant(const char* path, const std::string& what);
// Fails the test, naming the Debian package to install, when a command is not on the PATH.
void NeedTool(const std::string& command, const std::string& package);

// Runs each test in a fresh temporary folder holding a fresh log.txt, and removes it after.
class InTempDir : public ::testing::Test {
protected:
    std::string dir;
    std::string previousDir;

    void SetUp() override;
    void TearDown() override;

    // The lines of log.txt so far; how many start with the text; whether one does.
    std::vector<std::string> LogLines();
    int LinesStartingWith(const std::string& start);
    bool LogHas(const std::string& start) { return LinesStartingWith(start) > 0; }
    std::string LastLineStartingWith(const std::string& start);  // "" when none does
};
