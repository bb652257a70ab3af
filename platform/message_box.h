// SPDX-License-Identifier: GPL-3.0-or-later
// A modal message box with a title, a text and one OK button.
#pragma once

// Shows the box and returns when a person has closed it. With no display at all,
// the title and text go to standard error and it returns at once.
void ShowMessageBox(const char* title, const char* text);

// Tests put a function of their own in place of the real box so that nothing blocks.
// Passing null restores the real box.
using MessageBoxFunction = void (*)(const char* title, const char* text);
void SetMessageBoxFunction(MessageBoxFunction function);
