// SPDX-License-Identifier: GPL-3.0-or-later
// The settings registry: program variables exposed under text names, read from and written
// to a plain-text file of NAME=VALUE lines and set from the command line.
#pragma once

#include <map>
#include <set>
#include <string>

#include "engine/dator.h"
#include "engine/singleton.h"

class Settings : public Singleton<Settings> {
public:
    std::map<std::string, BaseDator*> variables;  // dators are not owned
    // Numeric settings whose value in the file wins when it is the larger: another copy of
    // the program may have raised it since this one started.
    std::set<std::string> keepLarger;
    // Files that were there but could not be read, with the reason: what they hold is
    // unknown, so they are never overwritten.
    std::map<std::string, std::string> unreadFiles;

    Settings() = default;
    virtual ~Settings() = default;

    // Binds a name to a dator; a name already bound is re-bound.
    void RegisterVariable(std::string& name, BaseDator* dator);
    BaseDator* GetVariable(std::string& name);  // null for a name never registered
    void SetVariable(std::string& name, std::string& value, int bias);

    // One setting: an optional '+' or '-', a name, and optionally '=' and a value, blanks
    // around the value ignored.
    void ParseSetting(std::string text);
    // The name a setting's text gives: without its '+' or '-', and up to the first '='.
    static std::string SettingName(const std::string& text);
    void ParseFile(std::string fileName);

    // Writes every registered variable in ascending name order. The file is replaced whole
    // or not at all: a crash or a full disk midway leaves the old file as it was. A link
    // stays a link, and the file it names takes the text.
    bool WriteFile(std::string fileName);

private:
    bool ReadKeptValues(const std::string& fileName, const std::string& path,
                        std::map<std::string, std::string>& values, std::string& problem);
    std::string Contents(const std::map<std::string, std::string>& onDisk);
};
