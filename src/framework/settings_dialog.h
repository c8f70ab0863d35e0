// The logic of the modal "Settings" dialog, apart from any toolkit: its controls (the device list, the
// mode list with each entry's mode index, the "windowed" and "stereo" check boxes with their enabled
// states, the "mode selection" group), how they are filled for a device, what each command does (a new
// device refills the dialog from that device's own record; "windowed" and "stereo" refill it from what
// the controls show), and OK, which writes the choice into the caller's record only when something
// changed and otherwise ends as Cancel does. The toolkit (settings_window.h) draws the state and turns
// clicks into the user actions below; tests drive the same actions without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/device_info.h"

// Control identifiers of the dialog resource.
constexpr int IDC_OK = 1;
constexpr int IDC_CANCEL = 2;
constexpr int IDC_DEVICE_COMBO = 1000;
constexpr int IDC_MODE_COMBO = 1001;
constexpr int IDC_WINDOWED = 1002;
constexpr int IDC_MODE_GROUP = 1003;
constexpr int IDC_STEREO = 1004;
constexpr int IDC_DEVICE_GROUP = 1005;
// Notifications.
constexpr int CBN_SELENDOK = 9;
constexpr int BN_CLICKED = 0;

struct SettingsModeItem {
    std::string text;  // "%ld x %ld x %ld"
    DWORD mode_index = 0;
};

// What the dialog's controls show.
struct SettingsControls {
    std::vector<std::string> devices;
    int device_selection = -1;
    std::vector<SettingsModeItem> modes;
    int mode_selection = -1;  // index into modes, -1 for none
    bool mode_enabled = false;  // combo 1001 and group 1003
    bool windowed_checked = false;
    bool windowed_enabled = false;
    bool stereo_checked = false;
    bool stereo_enabled = false;
};

class SettingsDialog {
public:
    // WM_INITDIALOG with the address of the caller's selected-record pointer; false (not handled) when
    // there is none.
    bool init(DeviceTable& table, DeviceInfo** selected);

    // What the user does; each returns the end result (IDOK or IDCANCEL) when the dialog ends.
    std::optional<int> choose_device(int index);
    std::optional<int> choose_mode(int item);
    std::optional<int> click_windowed();
    std::optional<int> click_stereo();
    std::optional<int> press_ok() { return command(IDC_OK, BN_CLICKED); }
    std::optional<int> press_cancel() { return command(IDC_CANCEL, BN_CLICKED); }

    // WM_COMMAND from a control with a notification code.
    std::optional<int> command(int control, int notification);

    const SettingsControls& controls() const { return controls_; }
    std::optional<int> result() const { return result_; }

private:
    void fill(int device_index, DWORD mode_index, bool windowed, bool stereo);
    DWORD selected_mode_index() const;

    DeviceTable* table_ = nullptr;
    DeviceInfo** selected_ = nullptr;
    int initial_device_ = -1;
    DWORD initial_mode_ = 0;
    bool initial_windowed_ = false;
    bool initial_stereo_ = false;
    SettingsControls controls_;
    std::optional<int> result_;
};

// The text of a mode entry: width, height and bits per pixel as "%ld x %ld x %ld".
std::string settings_mode_text(const DDSURFACEDESC2& mode);
