// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "engine/log.h"
#include "platform/file_access.h"

namespace {

const char* const BYTE_ORDER_MARK = "\xEF\xBB\xBF";  // some editors start UTF-8 files with it

std::string TrimBlanks(const std::string& text) {
    std::string::size_type first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits a setting into its bias, name and value.
int SplitSetting(std::string text, std::string& name, std::string& value) {
    int bias = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        bias = text[0] == '+' ? 1 : -1;
        text.erase(0, 1);
    }
    std::string::size_type equals = text.find('=');
    if (equals != std::string::npos) {
        name = text.substr(0, equals);
        value = TrimBlanks(text.substr(equals + 1));
    } else {
        // A bare name is a switch: '+' turns it on, '-' or nothing turns it off.
        name = text;
        value = std::to_string((bias + 1) / 2);
    }
    return bias;
}

enum class LineRead { LINE, TOO_LONG, END };

// One line without its end. A line longer than the buffer is read to its end and passed
// over: a cut line could carry a wrong value (a high score missing its last digits).
LineRead ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    bool tooLong = false;
    int c = std::getc(file);
    if (c == EOF) {
        return LineRead::END;
    }
    for (; c != EOF && c != '\n'; c = std::getc(file)) {
        if (line.size() < static_cast<size_t>(SETTINGS_MAX_BUFFER_SIZE - 1)) {
            line += static_cast<char>(c);
        } else {
            tooLong = true;
        }
    }
    line.resize(std::strlen(line.c_str()));  // a NUL ends the text, as in a C string
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();  // a file saved with DOS line ends
    }
    return tooLong ? LineRead::TOO_LONG : LineRead::LINE;
}

// Hands every line of the file to use, and says each one too long to passOver; false on a
// read error.
template <typename Use, typename PassOver>
bool ForEachLine(std::FILE* file, Use use, PassOver passOver) {
    std::string line;
    for (bool first = true;; first = false) {
        LineRead read = ReadLine(file, line);
        if (read == LineRead::END) {
            break;
        }
        if (first && line.rfind(BYTE_ORDER_MARK, 0) == 0) {
            line.erase(0, std::strlen(BYTE_ORDER_MARK));
        }
        if (read == LineRead::TOO_LONG) {
            passOver();
        } else {
            use(line);
        }
    }
    return !std::ferror(file);
}

// Read as the dators read numbers: no leading blank, and up to the first character that
// cannot continue the number.
bool ReadNumber(const std::string& text, long long& number) {
    std::stringstream stream;
    stream.unsetf(std::ios::skipws);
    stream << text;
    stream >> number;
    return !stream.fail();
}

}  // namespace

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
        if (!dator->Accepts(value)) {
            Log::Get().Write(LOG_APP,
                             "Setting variable <%s:%s:%d> refused: not a value it can hold",
                             name.c_str(), value.c_str(), bias);
            return;
        }
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
    std::string name;
    std::string value;
    int bias = SplitSetting(text, name, value);
    SetVariable(name, value, bias);
}

std::string Settings::SettingName(const std::string& text) {
    std::string::size_type start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    std::string::size_type equals = text.find('=', start);
    return text.substr(start, equals == std::string::npos ? equals : equals - start);
}

void Settings::ParseFile(std::string fileName) {
    ReadableFile opened(fileName);
    auto passOver = [] {
        Log::Get().Write(LOG_APP, "Settings line longer than %d characters passed over",
                         SETTINGS_MAX_BUFFER_SIZE - 1);
    };
    if (opened.file &&
        !ForEachLine(
            opened.file, [this](std::string& line) { ParseSetting(line); }, passOver)) {
        opened.problem = std::strerror(errno);
    }
    if (!opened.problem.empty()) {
        Log::Get().Write(LOG_APP, "Cannot open settings file: %s", fileName.c_str());
    }
    if (opened.exists && !opened.problem.empty()) {
        unreadFiles[fileName] = opened.problem;
    }
}

// The values the file holds now for the settings in keepLarger. False when the file is there
// but cannot be read, or could not be read at start.
bool Settings::ReadKeptValues(const std::string& fileName, const std::string& path,
                              std::map<std::string, std::string>& values, std::string& problem) {
    auto unread = unreadFiles.find(fileName);
    if (unread != unreadFiles.end()) {
        problem = "it could not be read: " + unread->second;
        return false;
    }
    ReadableFile opened(path);
    if (!opened.file) {
        problem = "it cannot be read: " + opened.problem;
        return !opened.exists;
    }
    auto keep = [&](std::string& line) {
        std::string name;
        std::string value;
        SplitSetting(line, name, value);
        if (keepLarger.count(name)) {
            values[name] = value;
        }
    };
    if (!ForEachLine(opened.file, keep, [] {})) {
        problem = "it cannot be read: " + std::string(std::strerror(errno));
        return false;
    }
    return true;
}

std::string Settings::Contents(const std::map<std::string, std::string>& onDisk) {
    std::string text;
    for (auto& [name, dator] : variables) {
        if (!dator) {
            continue;
        }
        std::string value = *dator;
        auto found = onDisk.find(name);
        long long ours = 0;
        long long theirs = 0;
        if (found != onDisk.end() && ReadNumber(value, ours) && ReadNumber(found->second, theirs) &&
            theirs > ours) {
            value = std::to_string(theirs);
        }
        text += name + "=" + value + "\n";
    }
    return text;
}

bool Settings::WriteFile(std::string fileName) {
    std::string path = FollowLinks(fileName);
    FolderLock lock(path);  // read and replaced while no other copy of the program writes there
    std::map<std::string, std::string> onDisk;
    std::string problem;
    if (!ReadKeptValues(fileName, path, onDisk, problem) ||
        !ReplaceFileContents(path, Contents(onDisk), problem)) {
        Log::Get().Write(LOG_APP, "Settings file %s is left as it was: %s", fileName.c_str(),
                         problem.c_str());
        Log::Get().Write(LOG_APP, "Cannot write to settings file: %s", fileName.c_str());
        return false;
    }
    return true;
}
