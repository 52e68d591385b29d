#include "dialogs/input_form.h"

#include <limits>

#include "core/text_encoding.h"
#include "dialogs/controls_file.h"
#include "dialogs/input_button_form.h"
#include "media/controls_table.h"
#include "media/key_names.h"

namespace kiv {

InputForm frmInput;

namespace {

using D = InputFormDesign;

// The per-player arrays hold item r * 4 + p for control r and player p.
constexpr const char* kPlayerArrays[] = {"buttonInputAdd", "buttonInputRemove", "txtInfoPlayer", "listInput"};

BindingSlot& SlotOfItem(int index) {
  return controls.at(static_cast<std::size_t>(index / kPlayerCount))
      .slots[static_cast<std::size_t>(index % kPlayerCount)];
}

std::string BindingText(const InputBinding& binding) {
  return Utf16ToAnsi(InputControlName(binding.key, binding.mode & 31));
}

// The scroll bar keeps its limits as 16-bit numbers; larger ones stop at the end of that range.
std::int32_t As16Bit(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

InputForm::InputForm() : DialogForm("frmInput", D::kWidth, D::kHeight) { caption = "Input Set"; }

void InputForm::Form_Load() {
  ClearControls();
  Dirty = false;
  // The design: a clipping area, the tall container of the rows that scrolls
  // inside it, and the template row with its controls.
  ui::Control& hold = AddControl("picHold", ui::ControlKind::PictureBox, 4, D::kHoldTop, 490, 355);
  hold.border = true;
  AddControl("picStats", ui::ControlKind::PictureBox, 0, 0, 490, D::kRowHeight).border = false;
  Item("picStats").container = "picHold";
  ui::Control& row = AddControl("picStat", ui::ControlKind::PictureBox, 0, 0, 490, D::kRowHeight);
  row.container = "picStats";
  const auto inRow = [this](const std::string& name, ui::ControlKind kind, std::int32_t left,
                            std::int32_t top, std::int32_t width, std::int32_t height,
                            const std::string& text) {
    ui::Control& control = AddControl(name, kind, left, top, width, height, text);
    control.container = "picStat";
    return &control;
  };
  inRow("txtInfoTitle", ui::ControlKind::Label, 4, 2, 480, 16, "Display Name:");
  inRow("txtInfoPlayer", ui::ControlKind::Label, 4, 20, 116, 15, "Player");
  inRow("listInput", ui::ControlKind::ListBox, 4, 36, 116, 40, "");
  inRow("buttonInputAdd", ui::ControlKind::Button, 4, 78, 56, 19, "+");
  inRow("buttonInputRemove", ui::ControlKind::Button, 64, 78, 56, 19, "--");
  AddControl("scrollWindow", ui::ControlKind::ScrollBar, 498, D::kHoldTop, 17, 355).max = 0;
  AddControl("buttonOK", ui::ControlKind::Button, 316, D::kHeight - D::kButtonHeight - 8, 96,
             D::kButtonHeight, "&OK")
      .isDefault = true;
  AddControl("buttonCancel", ui::ControlKind::Button, 420, D::kHeight - D::kButtonHeight - 8, 96,
             D::kButtonHeight, "&Cancel")
      .isCancel = true;

  // 1, 2.
  ui::Control& playerTemplate = Item("txtInfoPlayer");
  if (playerTemplate.tag.empty()) playerTemplate.tag = playerTemplate.caption;
  const std::string base = playerTemplate.tag;
  const std::int32_t step = playerTemplate.width + 3;
  // 3.
  ui::ControlArrayOf& rows = Controls("picStat");
  ui::ControlArrayOf& titles = Controls("txtInfoTitle");
  const std::int32_t last = static_cast<std::int32_t>(controls.size()) - 1;
  for (std::int32_t r = 0; r <= last; ++r) {
    ui::ControlArrayLoadRow(rows, r, ui::ControlContainer{&Controls("picStats"), 0}, {&titles});
    titles.Item(r).caption = Utf16ToAnsi(controls[static_cast<std::size_t>(r)].displayName);
    for (std::int32_t p = 0; p < kPlayerCount; ++p) {
      const std::int32_t i = r * kPlayerCount + p;
      for (const char* name : kPlayerArrays) {
        ui::ControlArrayPlace(Controls(name), i, ui::ControlContainer{&rows, r}, step * p, 0);
      }
      Controls("txtInfoPlayer").Item(i).caption = base + " " + std::to_string(p + 1);
      ui::Control& list = Controls("listInput").Item(i);
      list.Clear();
      for (const InputBinding& binding :
           controls[static_cast<std::size_t>(r)].slots[static_cast<std::size_t>(p)].bindings) {
        list.AddItem(BindingText(binding));
      }
    }
  }
  // 4. Rows beyond the table (the template row of an empty one) are hidden;
  // with no rows at all only the two buttons show.
  for (std::size_t r = static_cast<std::size_t>(last + 1); r < rows.items.size(); ++r)
    rows.items[r].visible = false;
  if (last < 0) {
    Item("picHold").visible = false;
    Item("scrollWindow").visible = false;
  }
  // 5, 6.
  Item("picStats").height = rows.Item(0).height * (last + 1);
  Form_Resize();
}

void InputForm::Form_Resize() {
  // Each step on its own: a window too small for the layout skips that step.
  const std::int32_t h = clientHeight, t = Item("picHold").top, b = Item("buttonOK").height;
  const std::int32_t r = Controls("picStat").Item(0).height;
  const std::int64_t n = static_cast<std::int64_t>(controls.size());
  const std::int64_t overflow = static_cast<std::int64_t>(r) * n - (h - t);
  const std::int32_t holdHeight = h - t - b - 16;
  if (holdHeight >= 0) {
    Item("picHold").height = holdHeight;
    Item("scrollWindow").height = holdHeight;
  }
  ui::Control& scroll = Item("scrollWindow");
  if (overflow < 1) {
    Item("picStats").top = 0;
    scroll.enabled = false;
    scroll.max = 0;
    scroll.value = 0;
  } else {
    scroll.enabled = true;
    scroll.max = As16Bit(b + overflow + 16);
    scroll.largeChange = As16Bit(h - t);
    scroll.value = std::min(scroll.value, scroll.max);
  }
}

void InputForm::Control_Click(const std::string& arrayName, int index) {
  if (arrayName == "buttonInputAdd") buttonInputAdd_Click(index);
  if (arrayName == "buttonInputRemove") buttonInputRemove_Click(index);
  if (arrayName == "buttonOK") buttonOK_Click();
  if (arrayName == "buttonCancel") buttonCancel_Click();
}

void InputForm::Control_Change(const std::string& arrayName, int /*index*/) {
  if (arrayName == "scrollWindow") scrollWindow_Change();
}

void InputForm::Control_Scroll(const std::string& arrayName, int /*index*/) {
  if (arrayName == "scrollWindow") scrollWindow_Scroll();
}

void InputForm::buttonInputAdd_Click(int index) {
  bindingAccepted = false;
  frmInputButton.ShowModal(*this);
  if (!bindingAccepted || !IsLoaded()) return;
  BindingSlot& slot = SlotOfItem(index);
  slot.bindings.push_back(InputBinding{frmInputButton.Mode, frmInputButton.Key});
  Controls("listInput").Item(index).AddItem(BindingText(slot.bindings.back()));
  Dirty = true;
}

void InputForm::buttonInputRemove_Click(int index) {
  ui::Control& list = Controls("listInput").Item(index);
  const std::int32_t selected = list.listIndex;
  if (selected < 0) return;
  BindingSlot& slot = SlotOfItem(index);
  if (static_cast<std::size_t>(selected) < slot.bindings.size())
    slot.bindings.erase(slot.bindings.begin() + selected);
  list.RemoveItem(selected);
  Dirty = true;
}

void InputForm::buttonOK_Click() {
  if (Dirty) {
    try {
      Save();
    } catch (const std::exception& error) {
      // A full disk or a folder that cannot be written: the user may try again or cancel.
      ui::ShowMessageBox("Input Set", std::string("The controls could not be saved.\r\n") + error.what(),
                         ui::BoxIcon::Error);
      return;
    }
  }
  Unload();
}

void InputForm::buttonCancel_Click() { Unload(); }

void InputForm::scrollWindow_Change() { Item("picStats").top = -Item("scrollWindow").value; }

void InputForm::scrollWindow_Scroll() { Item("picStats").top = -Item("scrollWindow").value; }

void InputForm::Save() {
  SaveControlsFile(kControlsFileName);
  Dirty = false;
}

}  // namespace kiv
