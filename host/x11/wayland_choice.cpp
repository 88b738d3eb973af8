#include "host/x11/wayland_choice.h"

#include <limits.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "seam/platform.h"

static bool WaylandAnswers() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) return false;
    std::string path = name;
    if (name[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime) return false;
        path = std::string(runtime) + "/" + name;
    }
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    int socketDescriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketDescriptor < 0) return false;
    bool answers = connect(socketDescriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(socketDescriptor);
    return answers;
}

bool ChoosesWayland(const HostOptions& options) {
    if (options.mode != HOST_MODE_WINDOW && options.mode != HOST_MODE_FULLSCREEN) return false;
    if (options.host != HOST_CHOICE_ANY) return options.host == HOST_CHOICE_WAYLAND;
    return WaylandAnswers();
}

// Installed, it lies in the package's libexec folder; in the build tree, beside this program's folder.
static std::string WaylandProgram() {
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return VG_WAYLAND_PROGRAM_INSTALLED;
    std::string folder(self, size_t(length));
    folder.erase(folder.rfind('/') + 1);
    for (const char* relative : {VG_WAYLAND_PROGRAM_FROM_BIN, "../wayland/vesperglow-wayland"}) {
        std::string candidate = folder + relative;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return VG_WAYLAND_PROGRAM_INSTALLED;
}

void RunWaylandProgram(char** argv) {
    std::string program = WaylandProgram();
    execv(program.c_str(), argv);
    std::string text = "cannot run " + program + ": " + std::strerror(errno);
    ReportError("Error", text.c_str(), REPORT_EXCLAMATION);
}
