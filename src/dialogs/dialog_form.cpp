#include "dialogs/dialog_form.h"

#include <algorithm>

#include "dialogs/dialog_hooks.h"

namespace kiv {

void DialogForm::Form_Unload(int& /*cancel*/) {
  if (showsStartWindow_) dialogHooks.ShowStartWindow();
}

ui::Control& DialogForm::AddControl(const std::string& name, ui::ControlKind kind, std::int32_t left,
                                    std::int32_t top, std::int32_t width, std::int32_t height,
                                    const std::string& caption) {
  ui::Control& control = AddControlArray(name, kind, 1)[0];
  control.left = left, control.top = top, control.width = width, control.height = height;
  control.caption = caption;
  return control;
}

void DialogForm::SetSlider(ui::Control& slider, std::int32_t min, std::int32_t max, std::int32_t largeChange,
                           std::int32_t smallChange, std::int32_t value) {
  slider.min = min, slider.max = max;
  slider.largeChange = largeChange, slider.smallChange = smallChange;
  // A hand-edited value outside the range shows at the nearer end.
  slider.value = std::clamp(value, min, max);
}

}  // namespace kiv
