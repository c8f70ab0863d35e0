#include "framework/settings_dialog.h"

#include <cstdio>

#include "platform/message_box.h"

std::string settings_mode_text(const DDSURFACEDESC2& mode)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld x %ld x %ld", static_cast<long>(mode.dwWidth),
                  static_cast<long>(mode.dwHeight), static_cast<long>(mode.ddpfPixelFormat.dwRGBBitCount));
    return text;
}

bool SettingsDialog::init(DeviceTable& table, DeviceInfo** selected)
{
    if (selected == nullptr || *selected == nullptr) return false;
    table_ = &table;
    selected_ = selected;
    result_.reset();
    const DeviceInfo* device = *selected;
    initial_device_ = static_cast<int>(device - table.devices);
    if (initial_device_ < 0 || initial_device_ >= static_cast<int>(table.accepted)) return false;
    initial_mode_ = device->current_mode;
    initial_windowed_ = device->windowed != 0;
    initial_stereo_ = device->stereo != 0;
    fill(initial_device_, initial_mode_, initial_windowed_, initial_stereo_);
    return true;
}

void SettingsDialog::fill(int device_index, DWORD mode_index, bool windowed, bool stereo)
{
    const DeviceInfo& device = table_->devices[device_index];
    controls_ = SettingsControls{};
    if (!device.desktop_compatible) windowed = false;
    for (DWORD i = 0; i < table_->accepted; ++i) controls_.devices.push_back(table_->devices[i].description);
    controls_.device_selection = device_index;
    controls_.windowed_enabled = device.desktop_compatible != 0;
    controls_.windowed_checked = windowed;
    controls_.stereo_enabled = device.stereo_compatible != 0 && !windowed;
    controls_.stereo_checked = stereo;
    controls_.mode_enabled = !windowed;
    for (DWORD i = 0; i < device.modes.size(); ++i) {
        const DDSURFACEDESC2& mode = device.modes[i];
        const bool offers_stereo = (mode.ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT) != 0;
        if (stereo && !offers_stereo) continue;
        controls_.modes.push_back(SettingsModeItem{settings_mode_text(mode), i});
        const int item = static_cast<int>(controls_.modes.size()) - 1;
        if (i == mode_index) controls_.mode_selection = item;
        if (stereo && controls_.mode_selection < 0) controls_.mode_selection = item;
    }
}

DWORD SettingsDialog::selected_mode_index() const
{
    // No entry selected (a stored mode the list does not show): keep the device's own mode.
    if (controls_.mode_selection < 0 || controls_.mode_selection >= static_cast<int>(controls_.modes.size())) {
        const int device = controls_.device_selection;
        return device >= 0 ? table_->devices[device].current_mode : 0;
    }
    return controls_.modes[controls_.mode_selection].mode_index;
}

std::optional<int> SettingsDialog::command(int control, int notification)
{
    if (table_ == nullptr || result_) return result_;
    const int device_index = controls_.device_selection;
    const DWORD mode_index = selected_mode_index();
    const bool windowed = controls_.windowed_checked;
    const bool stereo = controls_.stereo_checked;
    if (control == IDC_OK) {
        if (device_index == initial_device_ && mode_index == initial_mode_ && windowed == initial_windowed_ &&
            stereo == initial_stereo_) {
            result_ = IDCANCEL;
            return result_;
        }
        DeviceInfo& device = table_->devices[device_index];
        *selected_ = &device;
        device.stereo = stereo ? 1 : 0;
        device.current_mode = mode_index;
        device.windowed = windowed ? 1 : 0;
        if (mode_index < device.modes.size()) device.fullscreen_mode = device.modes[mode_index];
        result_ = IDOK;
        return result_;
    }
    if (control == IDC_CANCEL) {
        result_ = IDCANCEL;
        return result_;
    }
    if (control == IDC_DEVICE_COMBO && notification == CBN_SELENDOK) {
        const DeviceInfo& chosen = table_->devices[device_index];
        fill(device_index, chosen.current_mode, chosen.windowed != 0, chosen.stereo != 0);
    } else {
        fill(device_index, mode_index, windowed, stereo);
    }
    return std::nullopt;
}

std::optional<int> SettingsDialog::choose_device(int index)
{
    if (table_ == nullptr || index < 0 || index >= static_cast<int>(controls_.devices.size())) return result_;
    controls_.device_selection = index;
    return command(IDC_DEVICE_COMBO, CBN_SELENDOK);
}

std::optional<int> SettingsDialog::choose_mode(int item)
{
    if (table_ == nullptr || !controls_.mode_enabled || item < 0 || item >= static_cast<int>(controls_.modes.size())) {
        return result_;
    }
    controls_.mode_selection = item;
    return command(IDC_MODE_COMBO, CBN_SELENDOK);
}

std::optional<int> SettingsDialog::click_windowed()
{
    if (table_ == nullptr || !controls_.windowed_enabled) return result_;
    controls_.windowed_checked = !controls_.windowed_checked;
    return command(IDC_WINDOWED, BN_CLICKED);
}

std::optional<int> SettingsDialog::click_stereo()
{
    if (table_ == nullptr || !controls_.stereo_enabled) return result_;
    controls_.stereo_checked = !controls_.stereo_checked;
    return command(IDC_STEREO, BN_CLICKED);
}
