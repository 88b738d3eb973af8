// The settings file, read and saved: our reading agrees with GLib's, a save changes nothing but our
// values (and GLib reads every other key as before), the saved values read back, and a second save
// writes nothing.
#include <algorithm>
#include <cstring>

#include <glib.h>

#include "host/linux/keyfile_lines.h"
#include "tests/fuzz/fuzz.h"

namespace {

const char GROUP[] = "Control Panel\\Screen Saver.Vesperglow";
const char BLANKS[] = " \t\r\n\f";

bool Ours(const std::string& group, const std::string& key) {
    return group == GROUP && std::any_of(std::begin(SETTINGS_VALUES), std::end(SETTINGS_VALUES),
                                         [&key](const SettingsValue& value) { return key == value.name; });
}

bool Number(const std::string& text, size_t from, size_t to) {
    return from < to && text.find_first_not_of("0123456789", from) >= to;
}

// `line` is `was`, a line of one of our keys, with its value (after '=' and blanks, up to a NUL or
// a CRLF's CR) made a number.
bool ValueRewritten(const std::string& was, const std::string& line, bool last) {
    size_t equals = was.find('=');
    if (equals == 0 || equals == std::string::npos) return false;
    size_t keyEnd = was.find_last_not_of(BLANKS, equals - 1) + 1;
    size_t keyBegin = std::min(was.find_first_not_of(BLANKS, was.compare(0, 3, "\xEF\xBB\xBF") ? 0 : 3), keyEnd);
    size_t end = std::min(was.find('\0', equals), was.size() - (!last && was.back() == '\r'));
    size_t begin = std::min(was.find_first_not_of(BLANKS, equals + 1), end);
    size_t tail = was.size() - end;
    return Ours(GROUP, was.substr(keyBegin, keyEnd - keyBegin)) && line.size() > begin + tail &&
           line.compare(0, begin, was, 0, begin) == 0 && line.compare(line.size() - tail, tail, was, end) == 0 &&
           Number(line, begin, line.size() - tail);
}

// `after` is `before` line for line, but for our values made other numbers and lines added: our
// group's header, blank lines, our keys with numbers. A last line may have got an ending.
bool OnlyOurValuesChanged(const std::string& before, const std::string& after) {
    std::vector<std::string> old = Lines(before);
    size_t o = 0;
    for (std::string line : Lines(after)) {
        bool last = o + 1 == old.size();
        std::string bare = line.substr(0, line.size() - (last && !line.empty() && line.back() == '\r'));
        if (o < old.size() && (line == old[o] || bare == old[o] || ValueRewritten(old[o], line, last) ||
                               (last && ValueRewritten(old[o], bare, last)))) {
            ++o;
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t equals = line.find('=');
        if (!line.empty() && line != std::string("[") + GROUP + "]" &&
            (equals == std::string::npos || !Ours(GROUP, line.substr(0, equals)) || !Number(line, equals + 1, line.size())))
            return false;
    }
    return o == old.size();
}

// GLib's reading of the text, or null where it rejects the text.
GKeyFile* GLibReading(const std::string& text) {
    GKeyFile* file = g_key_file_new();
    if (g_key_file_load_from_data(file, text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) return file;
    g_key_file_free(file);
    return nullptr;
}

// Every key of `from` that is not ours reads the same in `in`.
bool OtherKeysReadTheSame(GKeyFile* from, GKeyFile* in) {
    bool same = true;
    gchar** groups = g_key_file_get_groups(from, nullptr);
    for (gchar** group = groups; *group; ++group) {
        gchar** keys = g_key_file_get_keys(from, *group, nullptr, nullptr);
        for (gchar** key = keys; *key; ++key) {
            gchar* was = g_key_file_get_value(from, *group, *key, nullptr);
            gchar* now = g_key_file_get_value(in, *group, *key, nullptr);
            same = same && (Ours(*group, *key) || (now && std::strcmp(was, now) == 0));
            g_free(was);
            g_free(now);
        }
        g_strfreev(keys);
    }
    g_strfreev(groups);
    return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t stored[SETTINGS_VALUE_COUNT], values[SETTINGS_VALUE_COUNT];
    bool present[SETTINGS_VALUE_COUNT];
    ReadGroupValues(text, GROUP, stored, present);
    GKeyFile* before = GLibReading(text);
    for (int i = 0; before && i < SETTINGS_VALUE_COUNT; ++i) {
        gchar* value = g_key_file_get_value(before, GROUP, SETTINGS_VALUES[i].name, nullptr);
        bool number = value && Number(value, 0, std::strlen(value)) && std::strtoull(value, nullptr, 10) <= UINT32_MAX;
        FUZZ_CHECK(number == present[i] && (!number || std::strtoull(value, nullptr, 10) == stored[i]));
        g_free(value);
    }
    // Some values kept, some changed, the missing ones added.
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
        values[i] = present[i] && stored[i] % 3 != 0 ? stored[i] : SETTINGS_VALUES[i].defaultValue + uint32_t(i);
    std::string saved = WithGroupValues(text, GROUP, values);
    FUZZ_CHECK(OnlyOurValuesChanged(text, saved));
    if (GKeyFile* after = before ? GLibReading(saved) : nullptr) {
        FUZZ_CHECK(OtherKeysReadTheSame(before, after) && OtherKeysReadTheSame(after, before));
        g_key_file_free(after);
    } else {
        FUZZ_CHECK(!before);
    }
    if (before) g_key_file_free(before);
    ReadGroupValues(saved, GROUP, stored, present);
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) FUZZ_CHECK(present[i] && stored[i] == values[i]);
    FUZZ_CHECK(WithGroupValues(saved, GROUP, values) == saved);
    return 0;
}
