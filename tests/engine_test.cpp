// SPDX-License-Identifier: GPL-3.0-or-later
// The engine: the kernel's frame order, the settings syntax and file, the log's targets and the
// frame timer.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>

#include "engine/global_timer.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/settings.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "test_support.h"

namespace {

using Lines = std::vector<std::string>;
Lines events;

class RecordingTask final : public Task {
public:
    std::string name;
    bool accept = true;
    std::function<void()> onUpdate;

    RecordingTask(std::string name, int priority) : name(std::move(name)) {
        this->priority = priority;
    }
    bool Start() override {
        events.push_back(name + ".Start");
        return accept;
    }
    void Stop() override { events.push_back(name + ".Stop"); }
    void Suspend() override { events.push_back(name + ".Suspend"); }
    void Resume() override { events.push_back(name + ".Resume"); }
    void Update() override {
        events.push_back(name + ".Update");
        if (onUpdate) {
            onUpdate();
        }
    }
};

class KernelTest : public ::testing::Test {
protected:
    Kernel kernel;
    void SetUp() override { events.clear(); }
};

TEST_F(KernelTest, RunsByPriorityThenArrivalAndRefusedTasksNeverRun) {
    RecordingTask late("late", 50), first("first", 10), second("second", 10), refused("no", 1);
    refused.accept = false;
    for (RecordingTask* task : {&late, &first, &second, &refused}) {
        kernel.AddTask(task);
    }
    kernel.SuspendTask(&first);
    kernel.ResumeTask(&first);  // goes behind the running tasks of its priority
    events.clear();
    kernel.RunFrame();
    EXPECT_EQ(events, (Lines{"second.Update", "first.Update", "late.Update"}));
}

TEST_F(KernelTest, KilledTasksAreSkippedAndStoppedInTheFrameTheyDie) {
    RecordingTask killer("killer", 10), victim("victim", 20), bystander("bystander", 30);
    for (RecordingTask* task : {&killer, &victim, &bystander}) {
        kernel.AddTask(task);
    }
    killer.onUpdate = [&] { kernel.RemoveTask(&victim); };
    events.clear();
    kernel.RunFrame();
    EXPECT_EQ(events, (Lines{"killer.Update", "bystander.Update", "victim.Stop"}));
    killer.onUpdate = [&] { kernel.KillAllTasks(); };
    events.clear();
    EXPECT_EQ(kernel.Execute(), 0);
    EXPECT_EQ(events, (Lines{"killer.Update", "killer.Stop", "bystander.Stop"}));
    EXPECT_TRUE(kernel.runningTasks.empty());
}

TEST_F(KernelTest, SuspendedTasksSleepUntilResumed) {
    RecordingTask sleeper("sleeper", 10), stranger("stranger", 10);
    kernel.AddTask(&sleeper);
    kernel.SuspendTask(&stranger);  // never added: nothing happens
    kernel.SuspendTask(&sleeper);
    kernel.SuspendTask(&sleeper);
    EXPECT_EQ(kernel.Execute(), 0) << "nothing left running";
    kernel.ResumeTask(&sleeper);
    EXPECT_EQ(events, (Lines{"sleeper.Start", "sleeper.Suspend", "sleeper.Resume"}));
}

class SettingsTest : public InTempDir {
protected:
    Settings settings;
    Game game;
    void SetUp() override {
        InTempDir::SetUp();
        game.SetDefaultSettings(&settings);
    }
    // Puts back what a row of a table changed.
    void ResetToDefaults() {
        for (const char* line : {"VIDEO_WIDTH=640", "VIDEO_FULLSCREEN=0", "HIGH_SCORE=0"}) {
            settings.ParseSetting(line);
        }
    }
    std::string Value(const char* name) {
        std::string key = name;
        return *settings.GetVariable(key);
    }
    static std::string FirstLine(const std::string& path) {
        std::string text = ReadTextFile(path);
        return text.substr(0, text.find('\n'));
    }
    // Forks a child for the work; Wait gives its exit status: 0 when the work succeeded.
    static pid_t InChild(const std::function<bool()>& work) {
        pid_t child = fork();
        if (child == 0) {
            _exit(work() ? 0 : 1);
        }
        return child;
    }
    static int Wait(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The work as the user nobody where we are root.
    static int AsNobody(const std::function<bool()>& work) {
        return Wait(InChild([&] {
            if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(9);
            }
            return work();
        }));
    }
};

// Each line is applied alone to fresh defaults.
TEST_F(SettingsTest, SettingSyntax) {
    struct Case {
        const char* line;
        const char* name;
        const char* value;
    } cases[] = {
        {"VIDEO_WIDTH=800", "VIDEO_WIDTH", "800"},
        {"+VIDEO_FULLSCREEN", "VIDEO_FULLSCREEN", "1"},
        {"-VIDEO_FULLSCREEN", "VIDEO_FULLSCREEN", "0"},
        {"VIDEO_FULLSCREEN", "VIDEO_FULLSCREEN", "0"},
        {"+VIDEO_FULLSCREEN=1", "VIDEO_FULLSCREEN", "1"},
        {"VIDEO_WIDTH=1024px", "VIDEO_WIDTH", "1024"},
        {"VIDEO_WIDTH=wide", "VIDEO_WIDTH", "640"},
        {"VIDEO_WIDTH=", "VIDEO_WIDTH", "640"},
        {"VIDEO_WIDTH=99999999999", "VIDEO_WIDTH", "640"},
        {"VIDEO_WIDTH=2147483647", "VIDEO_WIDTH", "640"},
        {"video_width=800", "VIDEO_WIDTH", "640"},
        {"VIDEO_WIDTH =800", "VIDEO_WIDTH", "640"},
        {"HIGH_SCORE=9000000000", "HIGH_SCORE", "9000000000"},
        {"HIGH_SCORE=-5", "HIGH_SCORE", "-5"},
    };
    for (const Case& c : cases) {
        ResetToDefaults();
        settings.ParseSetting(c.line);
        EXPECT_EQ(Value(c.name), c.value) << c.line;
    }
    settings.ParseSetting("VIDEO_WIDTH=800");
    EXPECT_EQ(LogLines().back(), "Setting variable <VIDEO_WIDTH:800:0>");
}

// A write that fails partway, as on a full disk or when the program dies, leaves the old file
// whole. The child's file size limit makes every write past 20 bytes fail.
TEST_F(SettingsTest, AFailedWriteKeepsTheOldFile) {
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=4321\n");
    EXPECT_EQ(Wait(InChild([this] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  rlimit limit = {20, 20};
                  return setrlimit(RLIMIT_FSIZE, &limit) == 0 && settings.WriteFile("tobrin.cfg");
              })),
              1);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=4321\n");
    Lines left;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Lines{"log.txt", "tobrin.cfg"})) << "no temporary file is left behind";
}

namespace fs = std::filesystem;
const char* const CFG = "tobrin.cfg";

// The game's own high score is 7 at every write.
TEST_F(SettingsTest, SettingsWriteKeepsTheBestAndNeverLosesAFileOrALink) {
    using T = fs::file_type;
    const struct {
        const char* path;  // where the hostile thing is planted
        const char* what;
        mode_t mode;  // given to it when not 0, and kept
        bool written;
        const char* file;  // when given, with the text it holds afterwards
        const char* text;
        T type;  // of tobrin.cfg afterwards
    } cases[] = {
        {CFG, "HIGH_SCORE=11\n", 0, true, CFG, "HIGH_SCORE=11", T::regular},
        {CFG, "HIGH_SCORE=2\n", 0, true, CFG, "HIGH_SCORE=7", T::regular},
        {CFG, "HIGH_SCORE=lots", 0, true, CFG, "HIGH_SCORE=7", T::regular},
        {CFG, "\xEF\xBB\xBFHIGH_SCORE= 40 \r\n", 0, true, CFG, "HIGH_SCORE=40", T::regular},
        {CFG, "HIGH_SCORE=50\nHIGH_SCORE=9", 0, true, CFG, "HIGH_SCORE=9", T::regular},
        {CFG, "", 0640, true, CFG, "HIGH_SCORE=7", T::regular},
        {CFG, "-> real.cfg", 0, true, "real.cfg", "HIGH_SCORE=7", T::symlink},
        {"tobrin.cfg.tmp", "-> victim", 0, true, "victim", "", T::regular},
        {CFG, "x", 0444, false, CFG, "x", T::regular},
        {CFG, "|", 0, false, nullptr, "", T::fifo},
        {CFG, "-> /dev/zero", 0, false, nullptr, "", T::symlink},
    };
    Plant("real.cfg", "HIGH_SCORE=1\n");
    settings.ParseSetting("HIGH_SCORE=7");
    for (const auto& c : cases) {
        fs::remove("tobrin.cfg");
        Plant(c.path, c.what);
        if (c.mode) {
            chmod(c.path, c.mode);
        }
        EXPECT_EQ(settings.WriteFile("tobrin.cfg"), c.written) << c.what;
        EXPECT_EQ(c.file ? FirstLine(c.file) : "", c.text) << c.what;
        EXPECT_EQ(fs::symlink_status("tobrin.cfg").type(), c.type) << c.what;
        EXPECT_TRUE(!c.mode || fs::status(c.path).permissions() == fs::perms(c.mode)) << c.what;
        EXPECT_EQ(LogHas("Cannot write to settings file: tobrin.cfg"), !c.written) << c.what;
        Log::Get().Initalise();
    }
    EXPECT_EQ(Value("HIGH_SCORE"), "7") << "only the file takes the larger";
    for (const auto& entry : fs::directory_iterator(".")) {
        std::string name = entry.path().filename();
        EXPECT_TRUE(name.rfind("tobrin.cfg.", 0) != 0 || name == "tobrin.cfg.tmp") << name;
    }
}

TEST_F(SettingsTest, UnreadableSettingsAreNeverOverwrittenAndAShutFolderIsWrittenInPlace) {
    chmod(".", 0777);
    Plant("tobrin.cfg", "HIGH_SCORE=99\n");
    chmod("tobrin.cfg", 0);
    EXPECT_EQ(AsNobody([this] {
                  settings.ParseFile("tobrin.cfg");
                  return settings.WriteFile("tobrin.cfg");
              }),
              1);
    chmod("tobrin.cfg", 0644);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=99\n");
    EXPECT_TRUE(LogHas("Settings file tobrin.cfg is left as it was: it could not be read"));
    for (const char* hostile : {"|", "-> /dev/urandom"}) {  // neither blocks nor floods a start
        Plant("tobrin.cfg", hostile);
        settings.ParseFile("tobrin.cfg");
        EXPECT_EQ(Value("HIGH_SCORE"), "0") << hostile;
    }

    fs::create_directory("shut");
    Plant("shut/tobrin.cfg", "HIGH_SCORE=1\nA_LONGER_OLD_LINE=" + std::string(200, '1'));
    chmod("shut/tobrin.cfg", 0666);
    chmod("shut", 0555);
    settings.ParseSetting("HIGH_SCORE=5");
    EXPECT_EQ(AsNobody([this] { return settings.WriteFile("shut/tobrin.cfg"); }), 0);
    ASSERT_TRUE(settings.WriteFile("open.cfg"));
    EXPECT_EQ(ReadTextFile("shut/tobrin.cfg"), ReadTextFile("open.cfg"));
    EXPECT_EQ(FirstLine("open.cfg"), "HIGH_SCORE=5");
    chmod("shut", 0755);
}

TEST_F(SettingsTest, ANewFileIsTheOwnersToReadBackWhateverTheUmask) {
    mode_t before = umask(0777);  // as a browser's file system has it
    bool written = settings.WriteFile("tobrin.cfg");
    umask(before);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status("tobrin.cfg").permissions() & fs::perms::owner_all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// The copies wait at a closed pipe, so that all of them write in the same moment.
TEST_F(SettingsTest, CopiesWritingAtOnceLeaveOneWholeFileWithTheBest) {
    std::vector<pid_t> copies;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    for (long best = 1; best <= 20; ++best) {
        copies.push_back(InChild([&] {
            settings.ParseSetting("HIGH_SCORE=" + std::to_string(best));
            close(start[1]);
            char go;
            return read(start[0], &go, 1) == 0 && settings.WriteFile("tobrin.cfg");
        }));
    }
    close(start[0]);
    close(start[1]);
    for (pid_t copy : copies) {
        EXPECT_EQ(Wait(copy), 0);
    }
    EXPECT_EQ(FirstLine("tobrin.cfg"), "HIGH_SCORE=20");
}

TEST_F(InTempDir, LogTargets) {
    std::string longText(5000, 'x');
    Log::Get().Write(LOG_APP, "Settings are %d by %d", 640, 480);
    Log::Get().Write(LOG_BOX, "Cannot load %s!", "icon");
    Log::Get().Write(0, "nowhere");
    Log::Get().Write(LOG_ERROR, "%s\n", longText.c_str());
    EXPECT_EQ(LogLines(), (Lines{"Settings are 640 by 480", std::string(1023, 'x')}));
    EXPECT_EQ(CapturedBoxes(),
              (Lines{"Kelo Message|Cannot load icon!", "Kelo Message|" + std::string(1023, 'x')}));
    ASSERT_TRUE(Log::Get().Initalise());
    EXPECT_TRUE(LogLines().empty()) << "each start replaces the log";
    // Anything but a file in its place is left alone, and the start goes on without a log: a
    // FIFO no one reads would hold it.
    for (bool fifo : {true, false}) {
        std::filesystem::remove("log.txt");
        fifo ? Plant("log.txt", "|") : (void)std::filesystem::create_directory("log.txt");
        EXPECT_TRUE(Log::Get().Initalise()) << fifo;
        Log::Get().Write(LOG_APP, "unheard");
        EXPECT_EQ(std::filesystem::is_fifo("log.txt"), fifo);
        EXPECT_EQ(std::filesystem::is_directory("log.txt"), !fifo);
    }
    std::filesystem::remove("log.txt");
    ASSERT_TRUE(Log::Get().Initalise());
}

std::uint32_t fakeTicks = 0;

TEST(TimerTest, MeasuresFramesInSecondsAcrossTheCounterWrap) {
    GlobalTimer timer;
    GlobalTimer::tickSource = [] { return fakeTicks; };
    fakeTicks = 4294967000u;
    timer.Start();
    std::vector<double> frames;
    for (std::uint32_t tick : {4294967250u, 4294967250u, 10u}) {
        fakeTicks = tick;
        timer.Update();
        frames.push_back(GlobalTimer::deltaTime);
    }
    GlobalTimer::tickSource = [] { return std::uint32_t(SDL_GetTicks()); };
    EXPECT_EQ(frames, (std::vector<double>{0.25, 0.0, 0.056}));
}

}  // namespace
