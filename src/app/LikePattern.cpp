#include "app/LikePattern.h"

namespace veldra::app {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Matches one bracket list at pattern[p] ('[' already seen); advances p past ']'.
bool matchList(char c, std::string_view pattern, std::size_t& p, bool& valid) {
    std::size_t i = p + 1;
    bool negate = i < pattern.size() && pattern[i] == '!';
    if (negate) ++i;
    bool found = false;
    for (; i < pattern.size() && pattern[i] != ']'; ++i) {
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            if (c >= pattern[i] && c <= pattern[i + 2]) found = true;
            i += 2;
        } else if (pattern[i] == c) {
            found = true;
        }
    }
    valid = i < pattern.size();
    p = i + 1;
    return found != negate;
}

bool matchFrom(std::string_view text, std::size_t t, std::string_view pattern, std::size_t p) {
    while (p < pattern.size()) {
        const char pc = pattern[p];
        if (pc == '*') {
            while (p < pattern.size() && pattern[p] == '*') ++p;
            if (p == pattern.size()) return true;
            for (std::size_t k = t; k <= text.size(); ++k)
                if (matchFrom(text, k, pattern, p)) return true;
            return false;
        }
        if (t >= text.size()) return false;
        if (pc == '?') {
            ++p;
        } else if (pc == '#') {
            if (!isDigit(text[t])) return false;
            ++p;
        } else if (pc == '[') {
            bool valid = true;
            std::size_t next = p;
            const bool ok = matchList(text[t], pattern, next, valid);
            if (!valid) {  // an unclosed bracket is taken literally
                if (text[t] != '[') return false;
                ++p;
            } else {
                if (!ok) return false;
                p = next;
            }
        } else {
            if (text[t] != pc) return false;
            ++p;
        }
        ++t;
    }
    return t == text.size();
}

}  // namespace

bool likePattern(std::string_view text, std::string_view pattern) { return matchFrom(text, 0, pattern, 0); }

bool isNumericText(std::string_view s) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    };
    skipBlanks();
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ++digits;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    skipBlanks();
    return i == s.size();
}

}  // namespace veldra::app
