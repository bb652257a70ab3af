// SPDX-License-Identifier: GPL-3.0-or-later
#include "game_process.h"

#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {

auto Deadline(double seconds) {
    return std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
}

// An X server that has only just started, or is busy, may not answer at the first call.
Display* OpenDisplay(const char* name, double seconds) {
    auto deadline = Deadline(seconds);
    Display* display = XOpenDisplay(name);
    for (; !display && std::chrono::steady_clock::now() < deadline; Sleep(20)) {
        display = XOpenDisplay(name);
    }
    return display;
}

// Windows of other processes may vanish while they are being looked at.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// A window property's bytes, or "" where it has none.
std::string Property(Display* display, Window window, const char* name) {
    Atom type;
    int format;
    unsigned long count = 0, remaining = 0;
    unsigned char* value = nullptr;
    std::string bytes;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                           AnyPropertyType, &type, &format, &count, &remaining,
                           &value) == Success &&
        value) {
        bytes.assign(reinterpret_cast<char*>(value), count * (format == 32 ? sizeof(long) : 1));
        XFree(value);
    }
    return bytes;
}

// The title is _NET_WM_NAME where set, else WM_NAME read raw: SDL2's message box sets only the
// raw one, which xdotool cannot read.
bool Matches(Display* display, Window window, const std::string& name, long pid) {
    std::string title = Property(display, window, "_NET_WM_NAME");
    std::string owner = Property(display, window, "_NET_WM_PID");
    return (title.empty() ? Property(display, window, "WM_NAME") : title) == name &&
           (pid == 0 ||
            (owner.size() == sizeof(long) && *reinterpret_cast<long*>(&owner[0]) == pid));
}

// Searches the mapped windows under the root, depth first.
Window FindWindow(Display* display, Window parent, const std::string& name, long pid) {
    Window root, ignored, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, parent, &root, &ignored, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            bool viewable = XGetWindowAttributes(display, children[i], &attributes) &&
                            attributes.map_state == IsViewable;
            found = viewable && Matches(display, children[i], name, pid)
                        ? children[i]
                        : FindWindow(display, children[i], name, pid);
        }
        XFree(children);
    }
    return found;
}

}  // namespace

bool GameProcess::Start(const std::vector<std::string>& arguments,
                        const std::map<std::string, std::string>& environment) {
    stderrPath = std::filesystem::current_path().string() + "/stderr.txt";
    pid = fork();
    if (pid == 0) {
        for (const auto& [name, value] : environment) {
            value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
        }
        dup2(open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<std::string> words = {TOBRIN_BINARY};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        execv(TOBRIN_BINARY, argv.data());
        _exit(127);
    }
    return pid > 0;
}

bool GameProcess::WaitForExit(double seconds) {
    for (auto deadline = Deadline(seconds); pid > 0; Sleep(20)) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            pid = -1;
        } else if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

void GameProcess::Kill() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}

GameProcess::~GameProcess() {
    Kill();
}

std::string WaitForWindow(const std::string& name, double seconds, long pid) {
    auto deadline = Deadline(seconds);
    Display* display = OpenDisplay(nullptr, seconds);
    if (!display) {
        return "";
    }
    XSetErrorHandler(IgnoreXErrors);
    Window found = FindWindow(display, DefaultRootWindow(display), name, pid);
    for (; !found && std::chrono::steady_clock::now() < deadline; Sleep(50)) {
        found = FindWindow(display, DefaultRootWindow(display), name, pid);
    }
    XCloseDisplay(display);
    return found ? std::to_string(found) : "";
}

bool FocusWindow(const std::string& window) {
    return std::system(("xdotool windowfocus --sync " + window + " 2>/dev/null").c_str()) == 0;
}

bool RequestClose(const std::string& window) {
    Display* display = OpenDisplay(nullptr, 1);
    if (!display) {
        return false;
    }
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent != 0;
}

Screenshot TakeScreenshot(const std::string& window) {
    Screenshot shot;
    Display* display = OpenDisplay(nullptr, 1);
    XWindowAttributes attributes;
    XImage* image = nullptr;
    if (display && XGetWindowAttributes(display, std::stoul(window), &attributes)) {
        image = XGetImage(display, std::stoul(window), 0, 0, attributes.width, attributes.height,
                          AllPlanes, ZPixmap);
    }
    if (image) {
        shot.width = image->width;
        shot.height = image->height;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                unsigned long pixel = XGetPixel(image, x, y);
                shot.rgb.insert(shot.rgb.end(),
                                {static_cast<unsigned char>((pixel & image->red_mask) >> 16),
                                 static_cast<unsigned char>((pixel & image->green_mask) >> 8),
                                 static_cast<unsigned char>(pixel & image->blue_mask)});
            }
        }
        XDestroyImage(image);
    }
    if (display) {
        XCloseDisplay(display);
    }
    return shot;
}

std::vector<int> Screenshot::At(int x, int y) const {
    size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

// A BMP file, which every image viewer opens.
void KeepScreenshot(const Screenshot& shot, const std::string& name) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceFrom(const_cast<unsigned char*>(shot.rgb.data()), shot.width,
                                 shot.height, 24, shot.width * 3, 0xFF, 0xFF00, 0xFF0000, 0);
    std::filesystem::create_directories(TOBRIN_ARTIFACT_DIR);
    if (surface) {
        SDL_SaveBMP(surface, (std::string(TOBRIN_ARTIFACT_DIR) + "/" + name + ".bmp").c_str());
        SDL_FreeSurface(surface);
    }
}

// Xvfb picks a free display number itself and writes it to the pipe once it takes
// connections, so that tests started together never race for one; should it fail, the pipe
// just closes. Without -noreset the server resets when its last client leaves and refuses
// connections for a moment, and a game started then falls back to drawing off screen.
bool PrivateDisplay::Start() {
    int number[2];
    if (pipe(number) != 0) {
        return false;
    }
    pid = fork();
    if (pid == 0) {
        dup2(open("/dev/null", O_WRONLY), 2);
        std::string fd = std::to_string(number[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(number[1]);
    char digits[16] = {};
    ssize_t got = pid > 0 ? read(number[0], digits, sizeof digits - 1) : 0;
    close(number[0]);
    if (got <= 0 && pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    if (pid > 0) {
        const char* current = std::getenv("DISPLAY");
        previous = current ? current : "";
        setenv("DISPLAY", (":" + std::to_string(std::atoi(digits))).c_str(), 1);
    }
    return pid > 0;
}

PrivateDisplay::~PrivateDisplay() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        setenv("DISPLAY", previous.c_str(), 1);
    }
}

void CopyResources() {
    std::filesystem::copy(std::string(TOBRIN_SOURCE_DIR) + "/resources", "resources",
                          std::filesystem::copy_options::recursive);
}
