// SPDX-License-Identifier: GPL-3.0-or-later
// The unit of per-frame work the kernel runs.
#pragma once

#include "engine/engine_constants.h"

// The creator owns the task object; the kernel only lists it and never deletes it,
// which is why there is no virtual destructor here.
class Task {
public:
    bool killFlag = false;                 // asks the kernel to stop and drop the task
    int priority = TASK_DEFAULT_PRIORITY;  // position in the frame: lower runs earlier

    virtual bool Start() = 0;  // false refuses the task
    virtual void Stop() = 0;   // releases what Start took
    virtual void Suspend() {}
    virtual void Resume() {}
    virtual void Update() = 0;  // one frame's work

protected:
    ~Task() = default;
};
