#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "test_support.h"

namespace {
void CaptureBox(const char* title, const char* text) {
    CapturedBoxes().push_back(std::string(title) + "|" + text);
}
}  // namespace

int main(int argc, char** argv) {
    SetMessageBoxFunction(CaptureBox);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
