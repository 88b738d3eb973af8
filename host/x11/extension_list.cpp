#include "host/x11/extension_list.h"

#include <cstring>

bool HasExtension(const char* list, const char* name) {
    size_t length = std::strlen(name);
    if (!list || length == 0) return false;
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
        bool startsWord = at == list || at[-1] == ' ';
        bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}
