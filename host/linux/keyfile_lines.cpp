#include "host/linux/keyfile_lines.h"

#include <algorithm>
#include <vector>

namespace {

const char UTF8_BOM[] = "\xEF\xBB\xBF";

// g_ascii_isspace, the blanks GLib skips before a line and around '=': not the vertical tab.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Decimal digits only, at most 4294967295. A sign, hex, blanks or an empty text are a wrong type.
bool ParseStoredNumber(const std::string& text, size_t begin, size_t end, uint32_t* value) {
    if (begin == end) return false;
    uint64_t number = 0;
    for (size_t at = begin; at < end; ++at) {
        if (text[at] < '0' || text[at] > '9') return false;
        number = number * 10 + uint64_t(text[at] - '0');
        if (number > UINT32_MAX) return false;
    }
    *value = uint32_t(number);
    return true;
}

// The group a header line names, or "" when GLib would reject the line: a name without brackets or
// control characters, and after the closing bracket nothing but spaces, tabs and the UTF-8
// continuation bytes GLib steps over with them.
std::string HeaderName(const std::string& text, size_t open, size_t end) {
    size_t close = text.find(']', open);
    if (close >= end) return "";
    for (size_t at = close + 1; at < end; ++at)
        if (text[at] != ' ' && text[at] != '\t' && (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return "";
    for (size_t at = open + 1; at < close; ++at) {
        unsigned char c = static_cast<unsigned char>(text[at]);
        if (c == '[' || c < 0x20 || c == 0x7F) return "";
    }
    return text.substr(open + 1, close - open - 1);
}

// Where the group's values and its end stand in the text.
struct GroupLayout {
    bool found[SETTINGS_VALUE_COUNT] = {};
    size_t valueBegin[SETTINGS_VALUE_COUNT] = {};  // the value's text, after the blanks behind '='
    size_t valueEnd[SETTINGS_VALUE_COUNT] = {};
    bool groupFound = false;
    size_t groupEnd = 0;           // after the last line of the group's last section that is no comment
    bool groupEndsLine = true;     // that line has its line ending (the text may stop without one)
    const char* newline = "\n";    // the group's last line ending, for the lines added after it
};

GroupLayout FindGroup(const std::string& text, const std::string& group) {
    GroupLayout layout;
    bool inGroup = false;
    for (size_t begin = 0; begin < text.size();) {
        size_t lineFeed = text.find('\n', begin);
        size_t next = lineFeed == std::string::npos ? text.size() : lineFeed + 1;
        size_t end = lineFeed == std::string::npos ? text.size() : lineFeed;
        // GLib drops the CR of a CRLF ending (not of a last line without one) and reads up to a NUL.
        bool crlf = end > begin && lineFeed != std::string::npos && text[end - 1] == '\r';
        end = std::min(end - crlf, text.find('\0', begin));
        size_t at = begin == 0 && text.compare(0, 3, UTF8_BOM) == 0 ? std::min<size_t>(3, end) : begin;
        while (at < end && IsBlank(text[at])) ++at;
        if (at == end || text[at] == '#') {
            begin = next;
            continue;
        }
        if (text[at] == '[') {
            // A header GLib would reject still starts a group, just not ours: its keys stay out.
            inGroup = HeaderName(text, at, end) == group;
            layout.groupFound = layout.groupFound || inGroup;
        } else if (size_t equals = text.find('=', at); inGroup && equals > at && equals < end) {
            size_t keyEnd = equals;
            while (IsBlank(text[keyEnd - 1])) --keyEnd;
            size_t valueBegin = equals + 1;
            while (valueBegin < end && IsBlank(text[valueBegin])) ++valueBegin;
            for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
                if (text.compare(at, keyEnd - at, SETTINGS_VALUES[i].name) != 0) continue;
                layout.found[i] = true;
                layout.valueBegin[i] = valueBegin;
                layout.valueEnd[i] = end;
            }
        }
        if (inGroup) {
            layout.groupEnd = next;
            layout.groupEndsLine = lineFeed != std::string::npos;
            if (layout.groupEndsLine) layout.newline = crlf ? "\r\n" : "\n";
        }
        begin = next;
    }
    return layout;
}

// The ending for a last line that has none. GLib keeps such a line's final CR in its value, so a
// CR there needs a CRLF after it: a lone LF would turn that CR into the line's ending.
const char* EndingAfter(const std::string& text, const char* newline) {
    return !text.empty() && text.back() == '\r' ? "\r\n" : newline;
}

// A new group starts on a line of its own after a blank line.
std::string GroupSeparator(const std::string& text) {
    if (text.empty()) return "";
    std::string separator = text.back() == '\n' ? "" : EndingAfter(text, "\n");
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\n\n") != 0) separator += "\n";
    return separator;
}

}  // namespace

void ReadGroupValues(const std::string& text, const std::string& group, uint32_t values[SETTINGS_VALUE_COUNT],
                     bool present[SETTINGS_VALUE_COUNT]) {
    GroupLayout layout = FindGroup(text, group);
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        values[i] = 0;
        present[i] = layout.found[i] && ParseStoredNumber(text, layout.valueBegin[i], layout.valueEnd[i], &values[i]);
    }
}

std::string WithGroupValues(const std::string& text, const std::string& group,
                            const uint32_t values[SETTINGS_VALUE_COUNT]) {
    GroupLayout layout = FindGroup(text, group);
    struct Edit {
        size_t begin;
        size_t end;
        std::string replacement;
    };
    std::vector<Edit> edits;
    std::string added;
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        std::string number = std::to_string(values[i]);
        uint32_t stored = 0;
        if (!layout.found[i]) {
            added += std::string(SETTINGS_VALUES[i].name) + "=" + number + layout.newline;
        } else if (!ParseStoredNumber(text, layout.valueBegin[i], layout.valueEnd[i], &stored) || stored != values[i]) {
            edits.push_back({layout.valueBegin[i], layout.valueEnd[i], number});
        }
    }
    if (!added.empty() && layout.groupFound) {
        edits.push_back({layout.groupEnd, layout.groupEnd, (layout.groupEndsLine ? "" : EndingAfter(text, layout.newline)) + added});
    } else if (!added.empty()) {
        edits.push_back({text.size(), text.size(), GroupSeparator(text) + "[" + group + "]\n" + added});
    }
    // Replacements come before an insertion at the same place: an empty last value at the end of the text.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
    std::string edited;
    size_t copied = 0;
    for (const Edit& edit : edits) {
        edited.append(text, copied, edit.begin - copied);
        edited += edit.replacement;
        copied = edit.end;
    }
    edited.append(text, copied, std::string::npos);
    return edited;
}
