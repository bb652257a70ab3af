#include "game_process.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "png_files.h"

namespace {

std::string Capture(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) {
        output += buffer;
    }
    pclose(pipe);
    return output;
}

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

bool GameProcess::Start(const std::vector<std::string>& arguments,
                        const std::map<std::string, std::string>& environment) {
    stderrPath = std::filesystem::current_path().string() + "/stderr.txt";
    pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        for (const auto& [name, value] : environment) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, 2);
        std::vector<char*> argv;
        std::string binary = TOBRIN_BINARY;
        argv.push_back(binary.data());
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    return true;
}

bool GameProcess::WaitForExit(double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            pid = -1;
            return true;
        }
        Sleep(20);
    }
    return false;
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

namespace {

// A window's title: _NET_WM_NAME where set, else WM_NAME read raw, whatever its encoding.
std::string WindowName(Display* display, Window window) {
    for (const char* property : {"_NET_WM_NAME", "WM_NAME"}) {
        Atom type;
        int format;
        unsigned long count = 0, remaining = 0;
        unsigned char* value = nullptr;
        int got =
            XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 1024,
                               False, AnyPropertyType, &type, &format, &count, &remaining, &value);
        if (got == Success && value) {
            std::string name(reinterpret_cast<char*>(value), count);
            XFree(value);
            if (format == 8 && !name.empty()) {
                return name;
            }
        }
    }
    return "";
}

// The process that owns a window, as the window says, or 0.
long WindowPid(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count = 0, remaining = 0;
    unsigned char* value = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &remaining, &value) == Success &&
        value) {
        if (count == 1 && format == 32) {
            pid = *reinterpret_cast<long*>(value);
        }
        XFree(value);
    }
    return pid;
}

// Windows of other processes may vanish while they are being looked at.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// Searches the mapped windows under the root, depth first.
Window FindWindow(Display* display, Window parent, const std::string& name, long pid) {
    Window root, ignored, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ignored, &children, &count)) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && WindowName(display, children[i]) == name &&
            (pid == 0 || WindowPid(display, children[i]) == pid)) {
            found = children[i];
        } else {
            found = FindWindow(display, children[i], name, pid);
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

}  // namespace

std::string WaitForWindow(const std::string& name, double seconds, long pid) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return "";
    }
    XSetErrorHandler(IgnoreXErrors);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    Window found = 0;
    do {
        found = FindWindow(display, DefaultRootWindow(display), name, pid);
        if (!found) {
            Sleep(50);
        }
    } while (!found && std::chrono::steady_clock::now() < deadline);
    XCloseDisplay(display);
    return found ? std::to_string(found) : "";
}

bool FocusWindow(const std::string& window) {
    return std::system(("xdotool windowfocus --sync " + window + " 2>/dev/null").c_str()) == 0;
}

// Held for a few frames: the game reads held keys once a frame, and a press and release
// between two frames is never seen.
bool PressKey(const std::string& key) {
    return std::system(("xdotool keydown " + key + " sleep 0.1 keyup " + key).c_str()) == 0;
}

std::pair<int, int> WindowSize(const std::string& window) {
    std::string geometry = Capture("xdotool getwindowgeometry " + window);
    int width = 0, height = 0;
    std::string::size_type at = geometry.find("Geometry: ");
    if (at != std::string::npos) {
        std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height);
    }
    return {width, height};
}

bool RequestClose(const std::string& window) {
    Display* display = XOpenDisplay(nullptr);
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
    XFlush(display);
    XCloseDisplay(display);
    return sent != 0;
}

Screenshot TakeScreenshot(const std::string& window) {
    Screenshot shot;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return shot;
    }
    XSetErrorHandler(IgnoreXErrors);
    Window id = std::stoul(window);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, id, &attributes)) {
        XImage* image =
            XGetImage(display, id, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (image) {
            shot.width = image->width;
            shot.height = image->height;
            shot.rgb.reserve(static_cast<size_t>(shot.width) * shot.height * 3);
            for (int y = 0; y < shot.height; ++y) {
                for (int x = 0; x < shot.width; ++x) {
                    unsigned long pixel = XGetPixel(image, x, y);
                    shot.rgb.push_back(static_cast<unsigned char>((pixel & image->red_mask) >> 16));
                    shot.rgb.push_back(
                        static_cast<unsigned char>((pixel & image->green_mask) >> 8));
                    shot.rgb.push_back(static_cast<unsigned char>(pixel & image->blue_mask));
                }
            }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return shot;
}

std::vector<int> Screenshot::At(int x, int y) const {
    size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

void KeepScreenshot(const Screenshot& shot, const std::string& name) {
    std::string folder = std::string(TOBRIN_ARTIFACT_DIR);
    std::filesystem::create_directories(folder);
    WritePng(folder + "/" + name + ".png", shot.width, shot.height, shot.rgb.data());
}

void CopyResources() {
    std::filesystem::copy(std::string(TOBRIN_SOURCE_DIR) + "/resources", "resources",
                          std::filesystem::copy_options::recursive);
}
