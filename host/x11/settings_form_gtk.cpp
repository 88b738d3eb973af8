#include "host/x11/settings_form_gtk.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>

#include "host/x11/xrandr_output.h"
#include "seam/platform.h"
#include "settings/settings_dialog_model.h"

namespace {

// Among the Linux programs' compiled-in resources (resources/linux.gresource.xml).
const char* const FORM_RESOURCE = "/org/vesperglow/settings_form.ui";
const char* const FORM_CONTROL_ID = "vesperglow-control-id";

struct SettingsForm {
    SettingsDialogModel model{g_settings};
    GtkBuilder* builder = nullptr;
    GtkWidget* window = nullptr;
};

// The modes of the output the saver switches (the primary one, else the first lit one), best
// first as XRandR lists them. X has one depth per screen, so every mode takes the bits per pixel
// of the pixmap format for that depth.
struct XrandrModes {
    XRRScreenResources* resources = nullptr;
    XRROutputInfo* output = nullptr;
    uint32_t bitsPerPixel = 0;
};

XrandrModes QueryXrandrModes(Display* display) {
    XrandrModes modes;
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return modes;
    modes.resources = XRRGetScreenResources(display, RootWindow(display, DefaultScreen(display)));
    RROutput output = modes.resources ? SwitchedOutput(display, modes.resources) : 0;
    if (output) modes.output = XRRGetOutputInfo(display, modes.resources, output);
    modes.bitsPerPixel = ScreenBitsPerPixel(display);
    return modes;
}

void FreeXrandrModes(XrandrModes* modes) {
    if (modes->output) XRRFreeOutputInfo(modes->output);
    if (modes->resources) XRRFreeScreenResources(modes->resources);
    *modes = XrandrModes();
}

bool ReportXrandrMode(void* context, uint32_t index, DisplayMode* mode) {
    const XrandrModes& modes = *static_cast<const XrandrModes*>(context);
    if (!modes.output || index >= uint32_t(modes.output->nmode)) return false;
    for (int i = 0; i < modes.resources->nmode; ++i) {
        const XRRModeInfo& info = modes.resources->modes[i];
        if (info.id != modes.output->modes[index]) continue;
        mode->width = info.width;
        mode->height = info.height;
        mode->bitsPerPixel = modes.bitsPerPixel;
        return true;
    }
    // A mode id the screen does not describe: offer nothing for it, but go on.
    *mode = DisplayMode{0, 0, 0};
    return true;
}

GObject* Control(const SettingsForm& form, int id) {
    char name[32];
    snprintf(name, sizeof name, "control-%d", id);
    GObject* control = gtk_builder_get_object(form.builder, name);
    g_object_set_data(control, FORM_CONTROL_ID, GINT_TO_POINTER(id));
    return control;
}

int ControlId(gpointer control) { return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(control), FORM_CONTROL_ID)); }

void ShowNumber(const SettingsForm& form, const DialogSlider& slider) {
    if (!slider.numberBoxId) return;
    char text[DIALOG_NUMBER_TEXT_SIZE];
    form.model.NumberText(slider, text);
    gtk_entry_set_text(GTK_ENTRY(Control(form, slider.numberBoxId)), text);
}

void ShowAbout(const SettingsForm& form) {
    GtkWidget* about = gtk_message_dialog_new(GTK_WINDOW(form.window), GTK_DIALOG_MODAL, GTK_MESSAGE_INFO,
                                              GTK_BUTTONS_OK, "%s", DIALOG_ABOUT_TEXT);
    gtk_window_set_title(GTK_WINDOW(about), DIALOG_ABOUT_CAPTION);
    gtk_dialog_run(GTK_DIALOG(about));
    gtk_widget_destroy(about);
}

void Follow(const SettingsForm& form, DialogOutcome outcome) {
    switch (outcome) {
    case DIALOG_CLOSES:
        gtk_main_quit();
        break;
    case DIALOG_SHOWS_ABOUT:
        ShowAbout(form);
        break;
    case DIALOG_STAYS_OPEN:
        break;
    }
}

// Every value GTK reports while the slider is dragged reaches the model, as on Windows.
void SliderChanged(GtkRange* range, gpointer data) {
    const SettingsForm& form = *static_cast<SettingsForm*>(data);
    int position = int(std::lround(gtk_range_get_value(range)));
    if (const DialogSlider* moved = static_cast<SettingsForm*>(data)->model.MoveSlider(ControlId(range), position))
        ShowNumber(form, *moved);
}

void CheckBoxToggled(GtkToggleButton* button, gpointer data) {
    static_cast<SettingsForm*>(data)->model.SetCheckBox(ControlId(button), gtk_toggle_button_get_active(button));
}

void ResolutionChanged(GtkComboBox* list, gpointer data) {
    static_cast<SettingsForm*>(data)->model.ChooseResolution(gtk_combo_box_get_active(list));
}

void ButtonClicked(GtkButton* button, gpointer data) {
    SettingsForm& form = *static_cast<SettingsForm*>(data);
    Follow(form, form.model.Command(ControlId(button)));
}

// Escape goes to the model as the Windows dialog manager's IDCANCEL does, and like it changes nothing.
gboolean KeyPressed(GtkWidget*, GdkEventKey* event, gpointer data) {
    if (event->keyval != GDK_KEY_Escape) return FALSE;
    SettingsForm& form = *static_cast<SettingsForm*>(data);
    Follow(form, form.model.Command(DIALOG_ESCAPE));
    return TRUE;
}

// GTK users expect a window's close button to leave their settings as they were, which is Cancel.
gboolean CloseRequested(GtkWidget*, GdkEvent*, gpointer data) {
    SettingsForm& form = *static_cast<SettingsForm*>(data);
    Follow(form, form.model.Command(DIALOG_CANCEL));
    return TRUE;
}

// SIGTERM and its kind close the form as its close button does.
gboolean SignalArrived(gint, GIOCondition, gpointer data) {
    CloseRequested(nullptr, nullptr, data);
    return G_SOURCE_REMOVE;
}

void FillResolutionList(SettingsForm& form) {
    GtkComboBoxText* list = GTK_COMBO_BOX_TEXT(Control(form, DIALOG_RESOLUTION_LIST));
    for (int position = 0; position < form.model.ListSize(); ++position) {
        char text[DIALOG_ENTRY_TEXT_SIZE];
        form.model.EntryText(position, text);
        gtk_combo_box_text_append_text(list, text);
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(list), form.model.selection);
    g_signal_connect(list, "changed", G_CALLBACK(ResolutionChanged), &form);
}

// Ticks at every position, as the Windows sliders draw them; paging moves a fifth of the range.
void SetUpSlider(SettingsForm& form, const DialogSlider& slider) {
    GtkRange* range = GTK_RANGE(Control(form, slider.id));
    double minimum = slider.Minimum(), maximum = slider.Maximum();
    gtk_range_set_range(range, minimum, maximum);
    gtk_range_set_increments(range, 1, std::fmax(1, std::floor((maximum - minimum) / 5)));
    for (double tick = minimum; tick <= maximum; ++tick)
        gtk_scale_add_mark(GTK_SCALE(range), tick, GTK_POS_BOTTOM, nullptr);
    gtk_range_set_value(range, form.model.SliderValue(slider));
    ShowNumber(form, slider);
    g_signal_connect(range, "value-changed", G_CALLBACK(SliderChanged), &form);
}

void SetUpControls(SettingsForm& form) {
    FillResolutionList(form);
    for (const DialogSlider& slider : DIALOG_SLIDERS) SetUpSlider(form, slider);
    for (const DialogCheckBox& box : DIALOG_CHECK_BOXES) {
        GObject* button = Control(form, box.id);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), form.model.CheckBoxValue(box));
        g_signal_connect(button, "toggled", G_CALLBACK(CheckBoxToggled), &form);
    }
    for (int id : {DIALOG_OK, DIALOG_CANCEL, DIALOG_ABOUT})
        g_signal_connect(Control(form, id), "clicked", G_CALLBACK(ButtonClicked), &form);
    g_signal_connect(form.window, "key-press-event", G_CALLBACK(KeyPressed), &form);
    g_signal_connect(form.window, "delete-event", G_CALLBACK(CloseRequested), &form);
}

// GDK ends the process with exit code 1 when the X connection breaks, which the caller would read
// as OK. End with the code of a missing display instead.
int DisplayLost(Display*) {
    fprintf(stderr, "vesperglow: lost the connection to the display\n");
    _exit(2);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int VesperglowSettingsForm(int signalDescriptor) {
    // The modes come from XRandR, so the form needs an X display even where Wayland is offered.
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* name = std::getenv("DISPLAY");
        fprintf(stderr, "vesperglow: cannot open display \"%s\" for the settings form\n", name ? name : "");
        return 2;
    }
    static SettingsForm form;
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    XSetIOErrorHandler(DisplayLost);
    XrandrModes modes = QueryXrandrModes(display);
    form.model.Open(ReportXrandrMode, &modes);
    FreeXrandrModes(&modes);

    form.builder = gtk_builder_new_from_resource(FORM_RESOURCE);
    form.window = GTK_WIDGET(gtk_builder_get_object(form.builder, "settings-window"));
    SetUpControls(form);
    g_unix_fd_add(signalDescriptor, G_IO_IN, SignalArrived, &form);
    // As the Windows dialog manager does, the first control in tab order starts with the focus.
    gtk_widget_grab_focus(GTK_WIDGET(Control(form, DIALOG_RESOLUTION_LIST)));
    gtk_widget_show(form.window);
    gtk_main();
    gtk_widget_destroy(form.window);
    g_object_unref(form.builder);
    return form.model.Result();
}
