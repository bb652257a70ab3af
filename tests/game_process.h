// Runs the real game binary in the test's folder and drives its window as a person would.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class GameProcess {
public:
    pid_t pid = -1;
    int exitStatus = -1;  // the exit code, or -1 while running or when killed by a signal
    std::string stderrPath;

    // Starts the game with the given arguments; each entry of environment is set (an empty
    // value removes the variable) on top of this process's environment.
    bool Start(const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment = {});
    bool WaitForExit(double seconds);
    void Kill();
    ~GameProcess();
};

void Sleep(int milliseconds);

// The id of the first visible window whose name matches exactly and, when a process id is
// given, that this process owns; or "" after the timeout.
std::string WaitForWindow(const std::string& name, double seconds, long pid = 0);
bool FocusWindow(const std::string& window);
// Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW).
bool RequestClose(const std::string& window);

// The window's picture as 8-bit RGB rows, top row first; empty when it cannot be read.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    // The pixel at (x, y), counted from the top left, as {red, green, blue}.
    std::vector<int> At(int x, int y) const;
};
Screenshot TakeScreenshot(const std::string& window);
// Keeps a screenshot beside the test results (build/test-artifacts/NAME.bmp) for a person to
// look at.
void KeepScreenshot(const Screenshot& shot, const std::string& name);

// An X server of the test's own, so that tests pressing keys can run side by side: started
// with Xvfb, it becomes this process's DISPLAY until it is stopped.
class PrivateDisplay {
public:
    pid_t pid = -1;
    std::string previous;
    bool Start();
    ~PrivateDisplay();
};

// Copies what the game reads at run time into the current folder.
void CopyResources();
