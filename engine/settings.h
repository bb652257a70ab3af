// SPDX-License-Identifier: GPL-3.0-or-later
// The settings registry: program variables exposed under text names, read from and written
// to a plain-text file of NAME=VALUE lines and set from the command line.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "engine/dator.h"
#include "engine/singleton.h"

class Settings : public Singleton<Settings> {
public:
    std::map<std::string, BaseDator*> variables;  // dators are not owned

    Settings() = default;
    virtual ~Settings() = default;

    // Binds a name to a dator; a name already bound is re-bound.
    void RegisterVariable(std::string& name, BaseDator* dator);
    BaseDator* GetVariable(std::string& name);  // null for a name never registered
    void SetVariable(std::string& name, std::string& value, int bias);

    // One setting: an optional '+' or '-', a name, and optionally '=' and a value.
    void ParseSetting(std::string text);
    // The name a setting's text gives: without its '+' or '-', and up to the first '='.
    static std::string SettingName(const std::string& text);
    void ParseFile(std::string fileName);

    // Writes every registered variable in ascending name order. The file is replaced whole
    // or not at all: a crash or a full disk midway leaves the old file as it was.
    bool WriteFile(std::string fileName);

private:
    bool WriteVariables(std::FILE* file);
};
