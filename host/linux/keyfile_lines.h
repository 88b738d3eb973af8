#pragma once
// One group of a key file, read line by line as GLib reads it and edited in place. GLib's own parser
// rejects a whole file for one bad line and rewrites every line it keeps, so the store reads and
// edits its group here and never touches another byte of the user's file.
#include <cstdint>
#include <string>

#include "settings/settings.h"

// The values of `group` in `text`; present[i] is false when value i is missing or is not a decimal
// 32-bit unsigned number. Lines GLib could not parse are skipped, the last of duplicate keys counts,
// and a UTF-8 byte-order mark is accepted.
void ReadGroupValues(const std::string& text, const std::string& group, uint32_t values[SETTINGS_VALUE_COUNT],
                     bool present[SETTINGS_VALUE_COUNT]);

// `text` with the values of `group` set: the value that counts is rewritten where it stands (only
// when it reads as another number), missing ones are added at the end of the group's last section,
// and a missing group at the end of the text. Every other byte stays as it was.
std::string WithGroupValues(const std::string& text, const std::string& group,
                            const uint32_t values[SETTINGS_VALUE_COUNT]);
