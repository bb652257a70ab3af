// SPDX-License-Identifier: GPL-3.0-or-later
// Dators: typed views of program variables that convert to and from text.
#pragma once

#include <limits>
#include <sstream>
#include <string>

// The registry never destroys dators through this base, so it has no virtual destructor.
class BaseDator {
public:
    virtual BaseDator& operator=(std::string& text) = 0;
    virtual BaseDator& operator+=(std::string& text) = 0;
    virtual BaseDator& operator-=(std::string& text) = 0;
    virtual bool operator==(std::string& text) = 0;
    virtual bool operator!=(std::string& text) = 0;
    virtual bool hasMultipleValues() = 0;  // takes a ';'-separated list of values
    virtual operator std::string() = 0;    // the variable's text form
    // Whether the text gives a value the variable may take; a dator that takes any text need
    // not say so.
    virtual bool Accepts(std::string&) { return true; }

protected:
    BaseDator() = default;
    BaseDator(const BaseDator&) = default;
    ~BaseDator() = default;
};

// Views one bool, int or long. Text that does not read as a number of the type (empty,
// a leading blank, letters, out of range, a bool other than 0 or 1) leaves the variable
// as it was; reading stops at the first character that cannot continue the number.
template <typename T>
class Dator final : public BaseDator {
public:
    T* target;  // the viewed variable; not owned
    T lowest;   // values outside lowest to highest are refused like text that does not convert
    T highest;

    explicit Dator(T& variable, T lowest = std::numeric_limits<T>::lowest(),
                   T highest = std::numeric_limits<T>::max())
        : target(&variable), lowest(lowest), highest(highest) {}

    T& GetValue() { return *target; }

    Dator& operator=(std::string& text) override {
        T value;
        if (Convert(text, value)) {
            *target = value;
        }
        return *this;
    }
    Dator& operator+=(std::string& text) override {
        T value;
        if (Convert(text, value)) {
            *target = Add(*target, value);
        }
        return *this;
    }
    Dator& operator-=(std::string& text) override {
        T value;
        if (Convert(text, value)) {
            *target = Subtract(*target, value);
        }
        return *this;
    }
    bool operator==(std::string& text) override { return toString(*target) == text; }
    bool operator!=(std::string& text) override { return toString(*target) != text; }
    bool hasMultipleValues() override { return false; }
    operator std::string() override { return toString(*target); }
    bool Accepts(std::string& text) override {
        T value;
        return Convert(text, value);
    }

    // The text's value, or the variable's own value when the text does not convert.
    T toVal(std::string& text) {
        T value;
        return Convert(text, value) ? value : *target;
    }

    std::string toString(T& value) {
        std::stringstream stream;
        stream.unsetf(std::ios::skipws);
        stream << value;
        std::string word;
        stream >> word;
        return word;
    }

private:
    bool Convert(const std::string& text, T& value) const {
        std::stringstream stream;
        stream.unsetf(std::ios::skipws);
        stream << text;
        stream >> value;
        return !stream.fail() && !(value < lowest) && !(highest < value);
    }
    static T Add(T a, T b) { return a + b; }
    static T Subtract(T a, T b) { return a - b; }
};

template <>
inline bool Dator<bool>::Add(bool a, bool b) {
    return a || b;
}
template <>
inline bool Dator<bool>::Subtract(bool a, bool b) {
    return a != b;
}
