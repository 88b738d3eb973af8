#include "host/linux/user_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <glib.h>

namespace {

// Where a chain of symlinks ends. A loop is left for open() to report.
std::string LinkTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || size_t(length) == sizeof target) break;
        std::string next(target, size_t(length));
        if (next[0] != '/') next.insert(0, path.substr(0, path.rfind('/') + 1));
        path = next;
    }
    return path;
}

bool Fail(int error, std::string* reason) {
    *reason = std::strerror(error);
    return false;
}

bool ReadAll(int descriptor, std::string* bytes) {
    char buffer[65536];
    for (;;) {
        ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0;
        bytes->append(buffer, size_t(got));
    }
}

bool WriteAll(int descriptor, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        done += size_t(written);
    }
    return true;
}

}  // namespace

bool ReadUserFile(const std::string& path, UserFileContents* contents, std::string* reason) {
    *contents = UserFileContents();
    int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return errno == ENOENT || Fail(errno, reason);
    struct stat info;
    int error = 0;
    if (fstat(descriptor, &info) != 0 || (S_ISREG(info.st_mode) && !ReadAll(descriptor, &contents->bytes))) error = errno;
    close(descriptor);
    if (error != 0) return Fail(error, reason);
    if (!S_ISREG(info.st_mode)) {
        *reason = "not a regular file";
        return false;
    }
    contents->exists = true;
    contents->mode = info.st_mode & 07777;
    return true;
}

bool ReplaceUserFile(const std::string& path, const UserFileContents& old, const std::string& bytes,
                    std::string* reason) {
    std::string target = LinkTarget(path);
    gchar* folder = g_path_get_dirname(target.c_str());
    int made = old.exists ? 0 : g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    if (made != 0) return Fail(errno, reason);
    // Written beside the target and renamed over it, so a reader sees the old file or the new one whole.
    std::string temporary = target + ".XXXXXX";
    int descriptor = g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, 0666);
    if (descriptor < 0) return Fail(errno, reason);
    // fchmod, unlike the mode given at creation, is not cut down by the umask.
    bool done = WriteAll(descriptor, bytes) && (!old.exists || fchmod(descriptor, old.mode) == 0) && fsync(descriptor) == 0;
    int error = errno;
    if (close(descriptor) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && rename(temporary.c_str(), target.c_str()) != 0) {
        done = false;
        error = errno;
    }
    if (!done) unlink(temporary.c_str());
    return done || Fail(error, reason);
}
