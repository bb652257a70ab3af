// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line holds besides settings: the options that answer a question and
// exit, and the report of an argument that names no setting.
#pragma once

class Settings;

// --help (or -h) prints the usage and --version the version, and the game should then exit
// with GAME_EXIT_NORMAL; any other argument beginning with "--" prints the usage to standard
// error and gives GAME_EXIT_USAGE. -1 when there is no option and the game should run. The
// usage lists the settings of a registry filled as the game fills its own, so it cannot drift
// from their defaults.
int AnswerOptions(int argc, char** argv, Settings& defaults);

// The recording named by --watch FILE, or null. The option and its file are no settings.
const char* WatchedFile(int argc, char** argv);
bool IsWatchArgument(int argc, char** argv, int index);

// A mistyped setting would otherwise pass unnoticed: says so on standard error and in the log.
// The settings file's unknown lines stay silent, since old files may hold retired names.
void ReportUnknownSetting(Settings* settings, const char* argument);
