#pragma once
// The common shape of the option dialogs: built anew from their design at
// each load, and (all but the binding capture, which the input-set dialog
// owns) showing the start window again when they unload.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/ui/form.h"

namespace kiv {

class DialogForm : public ui::Form {
 public:
  DialogForm(std::string name, std::int32_t clientWidth, std::int32_t clientHeight,
             bool showsStartWindow = true)
      : ui::Form(std::move(name), clientWidth, clientHeight), showsStartWindow_(showsStartWindow) {}
  void Form_Unload(int& cancel) override;

 protected:
  // Adds a single control (an array of one item) at its design place.
  ui::Control& AddControl(const std::string& name, ui::ControlKind kind, std::int32_t left, std::int32_t top,
                          std::int32_t width, std::int32_t height, const std::string& caption = "");
  ui::Control& Item(const std::string& name) { return Controls(name).Item(0); }
  // A slider's limits and steps, and a value shown within them.
  static void SetSlider(ui::Control& slider, std::int32_t min, std::int32_t max, std::int32_t largeChange,
                        std::int32_t smallChange, std::int32_t value);

 private:
  bool showsStartWindow_;
};

}  // namespace kiv
