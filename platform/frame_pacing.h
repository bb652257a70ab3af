// SPDX-License-Identifier: GPL-3.0-or-later
// The frame loop's one wait between two frames.
#pragma once

// On the desktop the swap already waits for the display (or not, when its sync is off), so this
// returns at once. In a browser, where nothing is drawn until the page gets control back, it
// hands control to the browser and returns at its next animation frame.
void WaitForNextFrame();
