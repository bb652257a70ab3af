// The task kernel: frame order, refusal, kills during a pass, suspension.
#include <functional>
#include <string>
#include <vector>

#include "engine/kernel.h"
#include "test_support.h"

namespace {

std::vector<std::string> events;

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
    Kernel* kernel = nullptr;
    void SetUp() override {
        events.clear();
        kernel = new Kernel;
    }
    void TearDown() override { delete kernel; }
};

using Events = std::vector<std::string>;

TEST_F(KernelTest, UpdatesByPriorityThenInsertionOrder) {
    RecordingTask late("late", 50), first("first", 10), second("second", 10), early("early", 1);
    kernel->AddTask(&late);
    kernel->AddTask(&first);
    kernel->AddTask(&second);
    kernel->AddTask(&early);
    events.clear();
    kernel->RunFrame();
    EXPECT_EQ(events, (Events{"early.Update", "first.Update", "second.Update", "late.Update"}));
}

TEST_F(KernelTest, RefusedTaskIsNeitherUpdatedNorStopped) {
    RecordingTask refused("refused", 10), other("other", 20);
    refused.accept = false;
    EXPECT_FALSE(kernel->AddTask(&refused));
    EXPECT_TRUE(kernel->AddTask(&other));
    other.onUpdate = [this] { kernel->KillAllTasks(); };
    EXPECT_EQ(kernel->Execute(), 0);
    EXPECT_EQ(events, (Events{"refused.Start", "other.Start", "other.Update", "other.Stop"}));
}

TEST_F(KernelTest, TaskKilledByAnEarlierOneIsNotUpdatedButStoppedThatFrame) {
    RecordingTask killer("killer", 10), victim("victim", 20), bystander("bystander", 30);
    kernel->AddTask(&killer);
    kernel->AddTask(&victim);
    kernel->AddTask(&bystander);
    killer.onUpdate = [&] { kernel->RemoveTask(&victim); };
    events.clear();
    kernel->RunFrame();
    EXPECT_EQ(events, (Events{"killer.Update", "bystander.Update", "victim.Stop"}));
    EXPECT_EQ(kernel->runningTasks.size(), 2u);
}

TEST_F(KernelTest, KillAllFromInsideUpdateStopsEveryTaskThatFrame) {
    RecordingTask a("a", 10), caller("caller", 20), c("c", 30);
    kernel->AddTask(&a);
    kernel->AddTask(&caller);
    kernel->AddTask(&c);
    caller.onUpdate = [&] { kernel->KillAllTasks(); };
    events.clear();
    EXPECT_EQ(kernel->Execute(), 0);
    EXPECT_EQ(events, (Events{"a.Update", "caller.Update", "a.Stop", "caller.Stop", "c.Stop"}));
    EXPECT_TRUE(kernel->runningTasks.empty());
}

TEST_F(KernelTest, TaskMayRemoveItselfDuringItsUpdate) {
    RecordingTask self("self", 10), after("after", 20);
    kernel->AddTask(&self);
    kernel->AddTask(&after);
    self.onUpdate = [&] { kernel->RemoveTask(&self); };
    after.onUpdate = [&] {
        if (self.killFlag) {
            return;
        }
        kernel->KillAllTasks();
    };
    events.clear();
    kernel->RunFrame();
    EXPECT_EQ(events, (Events{"self.Update", "after.Update", "self.Stop"}));
}

TEST_F(KernelTest, ExecuteWithNothingRunningReturnsAtOnceEvenWithSuspendedTasks) {
    RecordingTask sleeper("sleeper", 10);
    kernel->AddTask(&sleeper);
    kernel->SuspendTask(&sleeper);
    events.clear();
    EXPECT_EQ(kernel->Execute(), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(KernelTest, ResumedTaskGoesBehindRunningTasksOfEqualPriority) {
    RecordingTask resumed("resumed", 10), other("other", 10), low("low", 5);
    kernel->AddTask(&resumed);
    kernel->AddTask(&other);
    kernel->AddTask(&low);
    kernel->SuspendTask(&resumed);
    kernel->ResumeTask(&resumed);
    events.clear();
    kernel->RunFrame();
    EXPECT_EQ(events, (Events{"low.Update", "other.Update", "resumed.Update"}));
}

TEST_F(KernelTest, SuspendAndResumeCallTheTaskOnlyWhenItIsInTheRightList) {
    RecordingTask task("task", 10), stranger("stranger", 10);
    kernel->AddTask(&task);
    events.clear();
    kernel->ResumeTask(&task);       // running, not suspended: nothing
    kernel->SuspendTask(&stranger);  // never added: nothing
    kernel->SuspendTask(&task);
    kernel->SuspendTask(&task);  // already suspended: nothing
    EXPECT_EQ(events, (Events{"task.Suspend"}));
    EXPECT_TRUE(kernel->runningTasks.empty());
    kernel->RunFrame();
    EXPECT_EQ(events, (Events{"task.Suspend"}));
}

TEST_F(KernelTest, RemoveOrKillAllLeaveSuspendedAndUnknownTasksAlone) {
    RecordingTask sleeper("sleeper", 10), stranger("stranger", 10), runner("runner", 10);
    kernel->AddTask(&sleeper);
    kernel->AddTask(&runner);
    kernel->SuspendTask(&sleeper);
    kernel->RemoveTask(&sleeper);
    kernel->RemoveTask(&stranger);
    kernel->KillAllTasks();
    EXPECT_FALSE(sleeper.killFlag);
    EXPECT_FALSE(stranger.killFlag);
    EXPECT_TRUE(runner.killFlag);
}

}  // namespace
