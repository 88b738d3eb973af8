// The edit of ~/.xscreensaver: the backup is the old file, our entry's line goes in alone (or the
// system's list after every line), a second add changes nothing, and the programs resource read
// afterwards holds every entry it held and ours. libX11's resource reader stands in for the
// daemon's where both read a file alike.
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/x11/xscreensaver_list.h"
#include "tests/fuzz/fuzz.h"

namespace {

const char ENTRY[] = "  GL: vesperglow --root \\n";
// The files of one process, gone when it ends; Xrm is set up with them.
const struct Folder {
    std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/vg-fuzz-list-" +
                       std::to_string(getpid());
    Folder() {
        XrmInitialize();
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
} FOLDER;

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Xrm is no oracle for comment lines other than '!', keys bound with '.', wildcards, a key
// continued on the next line (Xrm ends the line there), NULs, CRs, and escapes other than "\n".
bool XrmReadsAsTheDaemon(const std::string& text) {
    for (const std::string& line : Lines(text)) {
        size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && std::strchr("#;.", line[first])) return false;
        if (!line.empty() && line.back() == '\\' && line.find(':') == std::string::npos) return false;
    }
    for (size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1))
        if (at + 1 < text.size() && std::strchr("\\01234567", text[at + 1])) return false;
    return text.find_first_of(std::string("\0\r*?", 4)) == std::string::npos;
}

// The programs list as Xrm reads it (by name: the daemon takes no "Programs"), sorted entries.
bool Programs(const std::string& text, std::vector<std::string>* entries) {
    XrmDatabase database = XrmGetStringDatabase(text.c_str());
    char* type = nullptr;
    XrmValue value = {};
    bool found = database && XrmGetResource(database, "programs", "programs", &type, &value) && value.addr;
    for (std::string entry : found ? Lines(value.addr) : std::vector<std::string>()) {
        size_t begin = entry.find_first_not_of(" \t");
        if (begin != std::string::npos) entries->push_back(entry.substr(begin, entry.find_last_not_of(" \t") + 1 - begin));
    }
    if (database) XrmDestroyDatabase(database);
    std::sort(entries->begin(), entries->end());
    return found;
}

// `after` is `before` with our entry's line after the list's last entry, whose line may gain a
// separator and a continuation; every other line as it was.
bool EntryInsertedAlone(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    for (size_t at = 1; after.size() == before.size() + 1 && at < after.size(); ++at) {
        bool kept = after[at].rfind(ENTRY, 0) == 0;
        for (size_t i = 0; kept && i < before.size(); ++i) {
            std::string was = before[i].substr(0, before[i].size() - (i + 1 == at && !before[i].empty() && before[i].back() == '\\'));
            kept = i + 1 == at ? after[i].rfind(was, 0) == 0 : after[i < at ? i : i + 1] == was;
        }
        if (kept) return true;
    }
    return false;
}

}  // namespace

// libX11 compares quark names with memcmp over lengths that may pass a shorter name's end once the
// bytes already differ: AddressSanitizer is to check only the bytes compared.
extern "C" const char* __asan_default_options() {
    return "strict_memcmp=0";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string old(reinterpret_cast<const char*>(data), size);
    const std::string user = FOLDER.path + "/xscreensaver", backup = user + ".before", systemList = FOLDER.path + "/XScreenSaver";
    std::ofstream(systemList, std::ios::trunc) << "*programs:\tmaze --root \\n\\\n- GL: gears --root \\n\n";
    unlink(user.c_str());
    unlink(backup.c_str());
    const bool none = old == std::string(1, '\0');  // stands for no file: the system's list is taken
    if (!none) std::ofstream(user, std::ios::binary) << old;
    std::string problem;
    ListEdit edit = AddToXscreensaverList(user, systemList, backup, &problem);
    const std::string added = Read(user);
    FUZZ_CHECK(edit == (none ? LIST_EDIT_CREATED : edit == LIST_EDIT_ALREADY_THERE ? edit : LIST_EDIT_ADDED));
    FUZZ_CHECK(edit == LIST_EDIT_ADDED ? Read(backup) == old : access(backup.c_str(), F_OK) != 0);
    FUZZ_CHECK(edit != LIST_EDIT_ALREADY_THERE || added == old);
    FUZZ_CHECK(AddToXscreensaverList(user, systemList, backup, &problem) == LIST_EDIT_ALREADY_THERE);
    FUZZ_CHECK(Read(user) == added);
    FUZZ_CHECK(edit != LIST_EDIT_ADDED || EntryInsertedAlone(Lines(old), Lines(added)) ||
               added.compare(0, old.size(), old) == 0);
    if (!XrmReadsAsTheDaemon(none ? "" : old)) return 0;
    std::vector<std::string> listed, now;
    if (none || !Programs(old, &listed)) listed = {"- GL: gears --root", "maze --root"};
    if (edit != LIST_EDIT_ALREADY_THERE) listed.insert(std::upper_bound(listed.begin(), listed.end(), "GL: vesperglow --root"), "GL: vesperglow --root");
    FUZZ_CHECK(Programs(added, &now) && std::includes(now.begin(), now.end(), listed.begin(), listed.end()));
    // An entry already there: the list as read runs vesperglow.
    FUZZ_CHECK(edit != LIST_EDIT_ALREADY_THERE || std::any_of(now.begin(), now.end(), [](const std::string& entry) {
                   return entry.find("vesperglow") != std::string::npos;
               }));
    return 0;
}
