#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "host/x11/settings_form_gtk.h"

// The module's path is fixed relative to the program (VG_FORM_MODULE), in the build tree as once
// installed; /proc/self/exe is the program itself even when started through a link.
static std::string FormModulePath() {
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return VG_FORM_MODULE;
    std::string path(self, size_t(length));
    return path.substr(0, path.rfind('/') + 1) + VG_FORM_MODULE;
}

// GTK and the seventy-odd libraries it needs are for the form alone: opened here, they cost the
// saver's other modes nothing.
int RunSettingsForm(int signalDescriptor) {
    std::string path = FormModulePath();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto form = module ? reinterpret_cast<SettingsFormEntry>(dlsym(module, SETTINGS_FORM_ENTRY)) : nullptr;
    if (!form) {
        std::fprintf(stderr, "vesperglow: cannot load the settings form: %s\n", dlerror());
        return 2;
    }
    return form(signalDescriptor);
}
