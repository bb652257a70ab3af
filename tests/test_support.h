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
bool FileExists(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);
bool HaveDisplay();
// Fails the test, naming the Debian package to install, when a command is not on the PATH.
void NeedTool(const std::string& command, const std::string& package);

// Runs each test in a fresh temporary folder holding a fresh log.txt, and removes it after.
class InTempDir : public ::testing::Test {
protected:
    std::string dir;
    std::string previousDir;

    void SetUp() override;
    void TearDown() override;

    // The lines of log.txt so far.
    std::vector<std::string> LogLines();
};
