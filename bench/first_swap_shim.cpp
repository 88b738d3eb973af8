// LD_PRELOAD shim: writes the CLOCK_MONOTONIC time of the program's first finished
// glXSwapBuffers, in nanoseconds, to the file VG_FIRST_SWAP_FILE names. side_by_side.py takes the
// time just before exec on the same clock, so the difference is exec to the first frame.
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

typedef void (*SwapBuffersProc)(Display*, GLXDrawable);

extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static SwapBuffersProc real = reinterpret_cast<SwapBuffersProc>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    static bool written = false;
    real(display, drawable);
    if (written) return;
    written = true;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = std::getenv("VG_FIRST_SWAP_FILE");
    if (FILE* file = path ? std::fopen(path, "w") : nullptr) {
        std::fprintf(file, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fclose(file);
    }
}
