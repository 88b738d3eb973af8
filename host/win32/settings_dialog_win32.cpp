#include "host/win32/settings_dialog_win32.h"

#include <commctrl.h>
#include <cstring>

#include "seam/platform.h"
#include "settings/settings_dialog_model.h"

// The dialog runs once per process and DialogBoxParamA passes no parameter, so the model it
// drives lives here.
static SettingsDialogModel s_model(g_settings);

static_assert(sizeof(DEVMODEA) == 156, "the mode query expects the 156-byte DEVMODEA");

// Mode numbers 0, 1, 2 and so on of the default display, until the system has no more.
static bool ReportDisplayMode(void*, uint32_t index, DisplayMode* mode) {
    DEVMODEA devMode;
    memset(&devMode, 0, sizeof devMode);
    devMode.dmSize = sizeof devMode;
    devMode.dmDriverExtra = 0;
    if (!EnumDisplaySettingsExA(nullptr, index, &devMode, 0)) return false;
    mode->width = devMode.dmPelsWidth;
    mode->height = devMode.dmPelsHeight;
    mode->bitsPerPixel = devMode.dmBitsPerPel;
    return true;
}

static void ShowNumber(HWND dialog, const DialogSlider& slider) {
    if (!slider.numberBoxId) return;
    char text[DIALOG_NUMBER_TEXT_SIZE];
    s_model.NumberText(slider, text);
    SetDlgItemTextA(dialog, slider.numberBoxId, text);
}

static void FillResolutionList(HWND dialog) {
    HWND list = GetDlgItem(dialog, DIALOG_RESOLUTION_LIST);
    SendMessageA(list, WM_SETFONT, 0, TRUE);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int position = 0; position < s_model.ListSize(); ++position) {
        char text[DIALOG_ENTRY_TEXT_SIZE];
        s_model.EntryText(position, text);
        SendMessageA(list, CB_ADDSTRING, 0, LPARAM(text));
    }
    SendMessageA(list, CB_SETCURSEL, WPARAM(s_model.selection), 0);
}

static void InitDialog(HWND dialog) {
    s_model.Open(ReportDisplayMode, nullptr);
    FillResolutionList(dialog);
    for (const DialogSlider& slider : DIALOG_SLIDERS) {
        HWND control = GetDlgItem(dialog, slider.id);
        SendMessageA(control, TBM_SETRANGE, FALSE, MAKELPARAM(slider.Minimum(), slider.Maximum()));
        SendMessageA(control, TBM_SETPOS, TRUE, LPARAM(s_model.SliderValue(slider)));
        ShowNumber(dialog, slider);
    }
    for (const DialogCheckBox& box : DIALOG_CHECK_BOXES)
        CheckDlgButton(dialog, box.id, s_model.CheckBoxValue(box) ? BST_CHECKED : BST_UNCHECKED);
}

// Every scroll message counts, the intermediate ones of a drag too.
static void SliderScrolled(HWND dialog, HWND control) {
    int position = int(SendMessageA(control, TBM_GETPOS, 0, 0));
    if (const DialogSlider* moved = s_model.MoveSlider(GetDlgCtrlID(control), position))
        ShowNumber(dialog, *moved);
}

static void CommandReceived(HWND dialog, int id, int notification) {
    if (id == DIALOG_RESOLUTION_LIST) {
        if (notification == CBN_SELCHANGE)
            s_model.ChooseResolution(int(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)));
        return;
    }
    if (notification != BN_CLICKED) return;
    // The model ignores ids that are no check box, and commands that are neither OK, Cancel
    // nor About (the Escape key's IDCANCEL among them).
    s_model.SetCheckBox(id, IsDlgButtonChecked(dialog, id) == BST_CHECKED);
    switch (s_model.Command(id)) {
    case DIALOG_CLOSES:
        EndDialog(dialog, s_model.Result());
        break;
    case DIALOG_SHOWS_ABOUT:
        MessageBoxA(dialog, DIALOG_ABOUT_TEXT, DIALOG_ABOUT_CAPTION, MB_OK);
        break;
    case DIALOG_STAYS_OPEN:
        break;
    }
}

bool PrepareDialogControls(HINSTANCE) {
    InitCommonControls();
    return true;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog);
        return TRUE;
    case WM_HSCROLL:
        SliderScrolled(dialog, HWND(lParam));
        return TRUE;
    case WM_COMMAND:
        CommandReceived(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}
