// The seat's keyboard and pointer, turned into the window messages Windows would send.
#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>

#include "host/linux/key_codes.h"
#include "host/wayland/wayland_host.h"

const uint32_t KEY_F10_CODE = 0x79;
// Linux input event codes (input-event-codes.h, whose names clash with the key codes here).
const uint32_t BUTTON_LEFT = 0x110;
const uint32_t BUTTON_RIGHT = 0x111;
// Win32's key-message lParam: repeat count 1; a release also sets the previous-state and
// transition bits.
const SaverLParam KEY_DOWN_LPARAM = 0x00000001;
const SaverLParam KEY_UP_LPARAM = 0xC0000001;

static WaylandSurface* Ours(wl_surface* target) {
    if (!target) return nullptr;
    for (auto& surface : g_wayland.surfaces)
        if (surface->surface == target && !surface->destroyed) return surface.get();
    return nullptr;
}

static void OnKeymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap = xkb_keymap_new_from_string(g_wayland.xkbContext, static_cast<const char*>(text),
                                                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) return;
    xkb_state_unref(g_wayland.keyState);
    xkb_keymap_unref(g_wayland.keymap);
    g_wayland.keymap = keymap;
    g_wayland.keyState = xkb_state_new(keymap);
}

static void OnKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface* target, wl_array*) {
    WaylandSurface* surface = Ours(target);
    if (surface) g_wayland.keyboardFocus = surface;
}

// Moving between our own surfaces is a leave and an enter; the main loop decides once both came.
static void OnKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface* target) {
    WaylandSurface* surface = Ours(target);
    if (!surface || g_wayland.keyboardFocus != surface) return;
    g_wayland.keyboardFocus = nullptr;
    g_wayland.focusLeft = true;
}

static void OnKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t code, uint32_t state) {
    WaylandSurface* surface = g_wayland.keyboardFocus;
    if (!surface || !g_wayland.keyState) return;
    bool down = state == WL_KEYBOARD_KEY_STATE_PRESSED;
    xkb_keysym_t keysym = xkb_state_key_get_one_sym(g_wayland.keyState, code + 8);
    bool control = xkb_state_mod_name_is_active(g_wayland.keyState, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0;
    if (!FullScreen() && down && IsWindowQuitKey(keysym, control)) {
        surface->closePosted = true;
        return;
    }
    uint32_t key = VirtualKeyFromKeysym(keysym);
    if (!down) {
        SendToSurface(surface, SAVER_WM_KEYUP, key, KEY_UP_LPARAM);
        return;
    }
    // Windows reports F10 and keys held with Alt as system keys.
    bool alt = xkb_state_mod_name_is_active(g_wayland.keyState, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0;
    SendToSurface(surface, key == KEY_F10_CODE || alt ? SAVER_WM_SYSKEYDOWN : SAVER_WM_KEYDOWN, key, KEY_DOWN_LPARAM);
}

static void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                        uint32_t group) {
    if (g_wayland.keyState) xkb_state_update_mask(g_wayland.keyState, depressed, latched, locked, 0, 0, group);
}

static void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

static const wl_keyboard_listener KEYBOARD_LISTENER = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave, OnKey,
                                                       OnModifiers, OnRepeatInfo};

static SaverLParam PointAt(wl_fixed_t x, wl_fixed_t y) {
    return PackWords(wl_fixed_to_int(x), wl_fixed_to_int(y));
}

// Windows sends a mouse move when a window appears under the pointer; the drift rule takes it as
// the start. Positions stay in logical pixels, so the five-pixel drift is the same at any scale.
static void OnPointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface* target, wl_fixed_t x,
                           wl_fixed_t y) {
    WaylandSurface* surface = Ours(target);
    g_wayland.pointerFocus = surface;
    if (!surface) return;
    if (FullScreen()) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    SendToSurface(surface, SAVER_WM_MOUSEMOVE, 0, PointAt(x, y));
}

static void OnPointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {
    g_wayland.pointerFocus = nullptr;
}

static void OnMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    if (g_wayland.pointerFocus) SendToSurface(g_wayland.pointerFocus, SAVER_WM_MOUSEMOVE, 0, PointAt(x, y));
}

static void OnButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    WaylandSurface* surface = g_wayland.pointerFocus;
    if (!surface || state != WL_POINTER_BUTTON_STATE_PRESSED) return;
    // Buttons past the three Windows names count as clicks too; wheel steps are axis events.
    uint32_t message = button == BUTTON_LEFT ? SAVER_WM_LBUTTONDOWN
                       : button == BUTTON_RIGHT ? SAVER_WM_RBUTTONDOWN
                                             : SAVER_WM_MBUTTONDOWN;
    SendToSurface(surface, message, 0, 0);
}

static void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}

// The seat is bound at version 4, which sends none of the later pointer events.
static const wl_pointer_listener POINTER_LISTENER = [] {
    wl_pointer_listener listener = {};
    listener.enter = OnPointerEnter;
    listener.leave = OnPointerLeave;
    listener.motion = OnMotion;
    listener.button = OnButton;
    listener.axis = OnAxis;
    return listener;
}();

static void OnCapabilities(void*, wl_seat* seat, uint32_t capabilities) {
    bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (keyboard && !g_wayland.keyboard) {
        g_wayland.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(g_wayland.keyboard, &KEYBOARD_LISTENER, nullptr);
    } else if (!keyboard && g_wayland.keyboard) {
        wl_keyboard_destroy(g_wayland.keyboard);
        g_wayland.keyboard = nullptr;
    }
    if (pointer && !g_wayland.pointer) {
        g_wayland.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(g_wayland.pointer, &POINTER_LISTENER, nullptr);
    } else if (!pointer && g_wayland.pointer) {
        wl_pointer_destroy(g_wayland.pointer);
        g_wayland.pointer = nullptr;
    }
}

static void OnSeatName(void*, wl_seat*, const char*) {}

static const wl_seat_listener SEAT_LISTENER = {OnCapabilities, OnSeatName};

void BindSeat(wl_registry* registry, uint32_t name, uint32_t version) {
    if (g_wayland.seat) return;  // the first seat is the user's
    g_wayland.xkbContext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    g_wayland.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 4u)));
    wl_seat_add_listener(g_wayland.seat, &SEAT_LISTENER, nullptr);
}
