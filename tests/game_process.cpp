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
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include <zlib.h>

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
    if (pid < 0) {
        return true;  // already waited for
    }
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
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    Display* display = XOpenDisplay(nullptr);
    while (!display && std::chrono::steady_clock::now() < deadline) {
        Sleep(50);  // a server that has only just started may not answer yet
        display = XOpenDisplay(nullptr);
    }
    if (!display) {
        return "";
    }
    XSetErrorHandler(IgnoreXErrors);
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

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void Chunk(std::vector<std::uint8_t>& png, const char* type, std::vector<std::uint8_t> data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    data.insert(data.begin(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    Put32(png, static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size()))));
}

}  // namespace

// An 8-bit RGB PNG file: each row behind a "no filter" byte, compressed whole.
void KeepScreenshot(const Screenshot& shot, const std::string& name) {
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < shot.height; ++y) {
        rows.push_back(0);
        auto row = shot.rgb.begin() + static_cast<long>(y) * shot.width * 3;
        rows.insert(rows.end(), row, row + shot.width * 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, header;
    Put32(header, static_cast<std::uint32_t>(shot.width));
    Put32(header, static_cast<std::uint32_t>(shot.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    std::string folder = std::string(TOBRIN_ARTIFACT_DIR);
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

// The display number comes from this process's id, so that tests started together never race
// for the same one; a number that is taken makes Xvfb give up at once, and the next is tried.
// Without -noreset the server resets when its last client leaves and refuses connections for a
// moment, and a game started then falls back to drawing off screen.
bool PrivateDisplay::Start() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::string display = ":" + std::to_string(200 + (getpid() * 7 + attempt) % 3000);
        int ready[2];
        if (pipe(ready) != 0) {
            return false;
        }
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            dup2(open("/dev/null", O_WRONLY), 2);
            std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
                   "1280x1024x24", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        char number[16] = {};
        ssize_t got = pid > 0 ? read(ready[0], number, sizeof number - 1) : -1;
        close(ready[0]);
        Display* answer = got > 0 ? XOpenDisplay(display.c_str()) : nullptr;
        for (int wait = 0; got > 0 && !answer && wait < 100; ++wait) {
            Sleep(20);
            answer = XOpenDisplay(display.c_str());
        }
        if (answer) {
            XCloseDisplay(answer);
            const char* current = std::getenv("DISPLAY");
            previous = current ? current : "";
            setenv("DISPLAY", display.c_str(), 1);
            return true;
        }
        if (pid > 0) {
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }
    return false;
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
