// The real message box: a window a person sees and closes with Return.
#include <sys/wait.h>
#include <unistd.h>

#include "game_process.h"
#include "platform/message_box.h"
#include "test_support.h"

namespace {

TEST(MessageBoxTest, ShowsAModalWindowThatReturnCloses) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "needs an X display";
    }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetMessageBoxFunction(nullptr);  // the real box
        ShowMessageBox("Kelo Message", "Cannot load icon!");
        _exit(0);
    }
    std::string box = WaitForWindow("Kelo Message", 20);
    EXPECT_FALSE(box.empty());
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "the box must wait for a person";
    EXPECT_TRUE(FocusWindow(box));
    EXPECT_TRUE(PressKey("Return"));
    for (int wait = 0; wait < 200 && waitpid(child, &status, WNOHANG) == 0; ++wait) {
        usleep(50000);
    }
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(MessageBoxTest, WithoutADisplayTheTextGoesToStandardError) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeEnds[1], 2);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        SetMessageBoxFunction(nullptr);
        ShowMessageBox("Kelo Message", "Cannot create the log file: log.txt");
        _exit(0);
    }
    close(pipeEnds[1]);
    char text[256] = {};
    ssize_t got = read(pipeEnds[0], text, sizeof text - 1);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_GT(got, 0);
    EXPECT_STREQ(text, "Kelo Message: Cannot create the log file: log.txt\n");
}

}  // namespace
