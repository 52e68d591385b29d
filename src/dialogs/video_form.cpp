#include "dialogs/video_form.h"

#include <cstring>

#include "dialogs/dialog_devices.h"
#include "dialogs/player_settings.h"
#include "dialogs/settings_file.h"
#include "media/graphics.h"

namespace kiv {

VideoForm frmVideo;

namespace {

constexpr std::int32_t kHardwareDevice = 1;
constexpr std::int32_t kSoftwareDevice = 2;
constexpr std::size_t kDescriptionLength = 512;

std::string FormatBitsText(std::int32_t format) {
  return std::to_string(FormatBitsPerPixel(static_cast<std::uint32_t>(format))) +
         "bit ID:" + std::to_string(format);
}

// A whole number above 0 and nothing else, or 0.
std::int32_t PositiveNumber(const std::string& text) {
  std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  if (first == std::string::npos) return 0;
  std::int64_t value = 0;
  for (std::size_t i = first; i <= last; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
    if (value > 0x7FFFFFFF) return 0;
  }
  return static_cast<std::int32_t>(value);
}

// The leading decimal number of a text, as the mode text's parts hold one.
std::int32_t LeadingNumber(const std::string& text) {
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), 0x7FFFFFFF);
  }
  return static_cast<std::int32_t>(value);
}

void ShowVideoMessage(const std::string& text) {
  ui::ShowMessageBox("Video Options", text, ui::BoxIcon::Information);
}

}  // namespace

std::string VideoModeText(std::int32_t width, std::int32_t height, std::int32_t refresh,
                          std::int32_t format) {
  return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(refresh) + "Hz " +
         FormatBitsText(format);
}

VideoForm::VideoForm() : DialogForm("frmVideo", 396, 164) { caption = "Video Options"; }

void VideoForm::Form_Load() {
  ClearControls();
  ui::ControlArrayOf& labels = AddControlArray("txtInfo", ui::ControlKind::Label, 4);
  const char* texts[] = {"Adapter :", "Device :", "Display :", "Window :"};
  for (std::size_t i = 0; i < 4; ++i) {
    labels[i].caption = texts[i];
    labels[i].left = 8, labels[i].top = 11 + 30 * static_cast<std::int32_t>(i), labels[i].width = 70;
    labels[i].height = 16;
  }
  AddControl("listAdapter", ui::ControlKind::DropDown, 80, 8, 308, 20);
  AddControl("listDevice", ui::ControlKind::DropDown, 80, 38, 308, 20);
  AddControl("listDisplayMode", ui::ControlKind::DropDown, 80, 68, 308, 20);
  ui::ControlArrayOf& sizes = AddControlArray("txtboxSize", ui::ControlKind::TextBox, 2);
  for (std::size_t i = 0; i < 2; ++i) {
    sizes[i].left = 80 + 90 * static_cast<std::int32_t>(i), sizes[i].top = 68, sizes[i].width = 80;
    sizes[i].height = 20;
  }
  AddControl("checkWindow", ui::ControlKind::CheckBox, 80, 98, 300, 20, "Enable Windowed Mode");
  AddControl("buttonOK", ui::ControlKind::Button, 196, 130, 92, 25, "&OK").isDefault = true;
  AddControl("buttonCancel", ui::ControlKind::Button, 296, 130, 92, 25, "&Cancel").isCancel = true;

  // 1. Adapter descriptions up to the first NUL, at most 512 characters.
  dialogDevices.EnumAdapters();
  ui::Control& adapters = Item("listAdapter");
  for (const gfx::AdapterIdentifier& adapter : graphics.adapterList) {
    adapters.AddItem(std::string(adapter.description, strnlen(adapter.description, kDescriptionLength)));
  }
  if (adapters.list.empty()) {
    // 3.
    ui::ShowMessageBox(
        "DirectX 8 : Direct3D 8 General Error",
        "DirectX 8 : Direct3D 8 wasn't able to detect any display adapters.  You probably don't "
        "have the latest drivers for your video card.  Could you please try to download them.  We "
        "do not offer any support on this subject at this time.",
        ui::BoxIcon::Information);
    Unload();
    return;
  }
  // 2a. A stored adapter beyond the list selects the first.
  const std::int32_t adapter = playerSettings.adapterIndex;
  adapters.listIndex = adapter >= 0 && static_cast<std::size_t>(adapter) < adapters.list.size() ? adapter : 0;
  listAdapter_Click();
  // 2b. The stored device when listed; entry 0 stays selected otherwise.
  ui::Control& devices = Item("listDevice");
  for (std::size_t i = 0; i < devices.itemData.size(); ++i) {
    if (devices.itemData[i] == playerSettings.deviceIndex) devices.listIndex = static_cast<std::int32_t>(i);
  }
  // 2c to 2e. The stored mode by its text, else the same size and format at any refresh rate, else the first.
  ui::Control& modes = Item("listDisplayMode");
  const std::string stored =
      VideoModeText(graphics.videoWidth, graphics.videoHeight, graphics.videoRefresh, graphics.videoFormat);
  const std::string head =
      std::to_string(graphics.videoWidth) + "x" + std::to_string(graphics.videoHeight) + "x";
  const std::string tail = "Hz " + FormatBitsText(graphics.videoFormat);
  std::int32_t chosen = -1;
  for (std::size_t i = 0; i < modes.list.size() && chosen < 0; ++i) {
    if (modes.list[i] == stored) chosen = static_cast<std::int32_t>(i);
  }
  for (std::size_t i = 0; i < modes.list.size() && chosen < 0; ++i) {
    const std::string& text = modes.list[i];
    if (text.size() >= head.size() + tail.size() && text.compare(0, head.size(), head) == 0 &&
        text.compare(text.size() - tail.size(), tail.size(), tail) == 0) {
      chosen = static_cast<std::int32_t>(i);
    }
  }
  if (chosen < 0 && !modes.list.empty()) chosen = 0;
  modes.listIndex = chosen;
  // 2f.
  Controls("txtboxSize")[0].text = std::to_string(graphics.videoWidth);
  Controls("txtboxSize")[1].text = std::to_string(graphics.videoHeight);
  Item("checkWindow").value = graphics.videoWindowed ? 1 : 0;
  checkWindow_Click();
  // 4.
  if (!playerSettings.fullscreenChangeAllowed) Item("checkWindow").enabled = false;
  if (!playerSettings.resolutionChangeAllowed) {
    for (ui::Control& size : Controls("txtboxSize").items) size.enabled = false;
  }
  // 5.
  SpeakDialogTitle(u"Video Options");
}

void VideoForm::Control_Click(const std::string& arrayName, int /*index*/) {
  if (arrayName == "listAdapter") listAdapter_Click();
  if (arrayName == "checkWindow") checkWindow_Click();
  if (arrayName == "buttonOK") buttonOK_Click();
  if (arrayName == "buttonCancel") buttonCancel_Click();
}

void VideoForm::listAdapter_Click() {
  const std::int32_t adapter = Item("listAdapter").listIndex;
  if (adapter < 0) return;
  ui::Control& devices = Item("listDevice");
  ui::Control& modes = Item("listDisplayMode");
  devices.Clear();
  modes.Clear();
  if (dialogDevices.DeviceTypeAvailable(adapter, kHardwareDevice)) {
    devices.AddItem("Hardware Accelerated Rendering", kHardwareDevice);
  }
  if (dialogDevices.DeviceTypeAvailable(adapter, kSoftwareDevice))
    devices.AddItem("Software Rendering", kSoftwareDevice);
  if (!devices.list.empty()) devices.listIndex = 0;
  dialogDevices.EnumDisplayModes(adapter);
  const bool anySize = playerSettings.resolutionChangeAllowed;
  for (const gfx::DisplayMode& mode : graphics.displayModes) {
    const std::int32_t width = static_cast<std::int32_t>(mode.width),
                       height = static_cast<std::int32_t>(mode.height);
    if (width <= 639 || height <= 479) continue;
    if (!anySize && (width != playerSettings.designWidth || height != playerSettings.designHeight)) continue;
    modes.AddItem(VideoModeText(width, height, static_cast<std::int32_t>(mode.refreshRate),
                                static_cast<std::int32_t>(mode.format)));
  }
}

void VideoForm::checkWindow_Click() {
  const bool windowed = Item("checkWindow").value != 0;
  Item("listDisplayMode").visible = !windowed;
  for (ui::Control& size : Controls("txtboxSize").items) size.visible = windowed;
}

void VideoForm::buttonOK_Click() {
  const ui::Control& devices = Item("listDevice");
  const ui::Control& modes = Item("listDisplayMode");
  const bool windowed = Item("checkWindow").value != 0;
  std::int32_t width = graphics.videoWidth, height = graphics.videoHeight;
  std::int32_t format = graphics.videoFormat, refresh = graphics.videoRefresh;
  // Nothing is written unless every value can be had.
  if (devices.listIndex < 0) {
    ShowVideoMessage("Device : no rendering device is available for this adapter.");
    return;
  }
  if (windowed) {
    width = PositiveNumber(Controls("txtboxSize")[0].text);
    height = PositiveNumber(Controls("txtboxSize")[1].text);
    if (width <= 0) {
      ShowVideoMessage("Window : the width must be a whole number above 0.");
      return;
    }
    if (height <= 0) {
      ShowVideoMessage("Window : the height must be a whole number above 0.");
      return;
    }
  } else {
    if (modes.listIndex < 0) {
      ShowVideoMessage("Display : no display mode is available for this adapter.");
      return;
    }
    const std::string& text = modes.list[static_cast<std::size_t>(modes.listIndex)];
    const std::size_t p1 = text.find('x');
    const std::size_t p2 = text.find('x', p1 + 1);
    const std::size_t p3 = text.find("Hz", p2 + 1);
    width = LeadingNumber(text.substr(0, p1));
    height = LeadingNumber(text.substr(p1 + 1, p2 - p1 - 1));
    refresh = LeadingNumber(text.substr(p2 + 1, p3 - p2 - 1));
    format = LeadingNumber(text.substr(text.size() - 2));  // the format numbers have two digits
  }
  const std::int32_t adapter = Item("listAdapter").listIndex;
  const std::int32_t device = devices.itemData[static_cast<std::size_t>(devices.listIndex)];
  playerSettings.adapterIndex = graphics.videoAdapter = adapter;
  playerSettings.deviceIndex = graphics.videoDeviceType = device;
  graphics.videoWidth = width;
  graphics.videoHeight = height;
  graphics.videoFormat = format;
  graphics.videoRefresh = refresh;
  graphics.videoWindowed = windowed;
  WriteSetting(SettingKey::RenderAdapter, adapter);
  WriteSetting(SettingKey::RenderDevice, device);
  WriteSetting(SettingKey::RenderWidth, width);
  WriteSetting(SettingKey::RenderHeight, height);
  WriteSetting(SettingKey::RenderFormat, format);
  WriteSetting(SettingKey::RenderRefresh, refresh);
  WriteSettingFlag(SettingKey::RenderWindowed, windowed);
  Unload();
}

void VideoForm::buttonCancel_Click() { Unload(); }

}  // namespace kiv
