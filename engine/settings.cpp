// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include <cstdio>
#include <fstream>
#include <limits>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "engine/log.h"

void Settings::RegisterVariable(std::string& name, BaseDator* dator) {
    variables[name] = dator;
}

BaseDator* Settings::GetVariable(std::string& name) {
    auto found = variables.find(name);
    return found == variables.end() ? nullptr : found->second;
}

void Settings::SetVariable(std::string& name, std::string& value, int bias) {
    BaseDator* dator = GetVariable(name);
    if (!dator) {
        return;
    }
    if (!dator->hasMultipleValues()) {
        *dator = value;
    } else {
        std::string::size_type start = 0;
        while (true) {
            std::string::size_type end = value.find(';', start);
            std::string item = value.substr(start, end == std::string::npos ? end : end - start);
            if (bias > 0) {
                *dator += item;
            } else if (bias < 0) {
                *dator -= item;
            }
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    Log::Get().Write(LOG_APP, "Setting variable <%s:%s:%d>", name.c_str(), value.c_str(), bias);
}

void Settings::ParseSetting(std::string text) {
    int bias = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        bias = text[0] == '+' ? 1 : -1;
        text.erase(0, 1);
    }
    std::string name;
    std::string value;
    std::string::size_type equals = text.find('=');
    if (equals != std::string::npos) {
        name = text.substr(0, equals);
        value = text.substr(equals + 1);
    } else {
        // A bare name is a switch: '+' turns it on, '-' or nothing turns it off.
        name = text;
        value = std::to_string((bias + 1) / 2);
    }
    SetVariable(name, value, bias);
}

std::string Settings::SettingName(const std::string& text) {
    std::string::size_type start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    std::string::size_type equals = text.find('=', start);
    return text.substr(start, equals == std::string::npos ? equals : equals - start);
}

void Settings::ParseFile(std::string fileName) {
    std::ifstream file(fileName);
    if (!file.is_open()) {
        Log::Get().Write(LOG_APP, "Cannot open settings file: %s", fileName.c_str());
        return;
    }
    char line[SETTINGS_MAX_BUFFER_SIZE];
    while (true) {
        file.getline(line, sizeof line);
        if (file.bad()) {
            // A read error, such as a folder in the file's place: stop rather than loop on it.
            Log::Get().Write(LOG_APP, "Cannot open settings file: %s", fileName.c_str());
            break;
        }
        if (file.fail() && !file.eof()) {
            // The line is longer than the buffer. A cut line could carry a wrong value
            // (a high score missing its last digits), so the whole line is passed over.
            file.clear();
            file.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            Log::Get().Write(LOG_APP, "Settings line longer than %d characters passed over",
                             SETTINGS_MAX_BUFFER_SIZE - 1);
            continue;
        }
        std::string text(line);
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();  // a file saved with DOS line ends
        }
        ParseSetting(text);
        if (file.eof()) {
            break;
        }
    }
}

bool Settings::WriteVariables(std::FILE* file) {
    for (auto& [name, dator] : variables) {
        if (!dator) {
            continue;
        }
        std::string value = *dator;
        if (std::fprintf(file, "%s=%s\n", name.c_str(), value.c_str()) < 0) {
            return false;
        }
    }
    return true;
}

namespace {

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    std::remove(to.c_str());  // Windows' rename will not replace an existing file
#endif
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool Settings::WriteFile(std::string fileName) {
    // Written beside the old file and renamed over it, so there is always a whole file.
    std::string temporary = fileName + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file) {
        Log::Get().Write(LOG_APP, "Cannot write to settings file: %s", fileName.c_str());
        return false;
    }
    bool written = WriteVariables(file) && FlushToDisk(file);
    written = std::fclose(file) == 0 && written;
    if (!written || !ReplaceFile(temporary, fileName)) {
        std::remove(temporary.c_str());
        Log::Get().Write(LOG_APP, "Cannot write to settings file: %s", fileName.c_str());
        return false;
    }
    return true;
}
