// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frame_pacing.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

// The game's own loop keeps running: Asyncify unwinds it here and rewinds it when the browser
// calls back for the next frame.
EM_ASYNC_JS(void, WaitForAnimationFrame, (),
            { await new Promise(function(resolve) { requestAnimationFrame(resolve); }); });

void WaitForNextFrame() {
    WaitForAnimationFrame();
}
#else
void WaitForNextFrame() {}
#endif
