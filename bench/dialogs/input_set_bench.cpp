// One frame of the input-set dialog for a table of 200 controls (18 controls
// a row, 3600 in all, most of them scrolled out of the clipping area), drawn
// offscreen through the event pump; against a form of as many plain buttons
// and labels at the same places of the window, drawn the same way in the same
// run. Both figures include the pump's event poll, the ImGui frame, the GL
// draw of the form and the buffer swap on Mesa's software renderer. A third
// figure is the dialog's build (its load) for the table, without a window.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "dialogs/input_form.h"
#include "media/controls_table.h"
#include "platform/ui/form.h"

namespace kiv {
namespace {

constexpr int kControls = 200;

void FillTable() {
  controls.assign(kControls, Control{});
  for (int r = 0; r < kControls; ++r) {
    Control& control = controls[static_cast<std::size_t>(r)];
    control.displayName = u"Control " + std::u16string(1, static_cast<char16_t>(u'A' + r % 26));
    for (BindingSlot& slot : control.slots) slot.bindings = {{2, 0x1E + r % 10}, {4, r % 11}};
  }
}

struct Environment {
  Environment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    FillTable();
  }
};
const Environment environment;

// The place of a control in the window, through its containers, unclipped.
void WindowPlace(const ui::Form& form, const ui::Control& control, std::int32_t& left, std::int32_t& top) {
  left = control.left, top = control.top;
  const ui::Control* at = &control;
  while (!at->container.empty()) {
    at = &form.Controls(at->container).Item(at->containerIndex);
    left += at->left, top += at->top;
  }
}

// Every control of the dialog as a plain button (its buttons) or label (the rest) at its place.
class PlainForm : public ui::Form {
 public:
  explicit PlainForm(const ui::Form& dialog)
      : ui::Form("frmPlain", InputFormDesign::kWidth, InputFormDesign::kHeight) {
    ui::ControlArrayOf& buttons = AddControlArray("buttons", ui::ControlKind::Button, 0);
    ui::ControlArrayOf& labels = AddControlArray("labels", ui::ControlKind::Label, 0);
    for (const char* name :
         {"picHold", "picStats", "picStat", "txtInfoTitle", "txtInfoPlayer", "listInput", "buttonInputAdd",
          "buttonInputRemove", "scrollWindow", "buttonOK", "buttonCancel"}) {
      const ui::ControlArrayOf& array = dialog.Controls(name);
      for (const ui::Control& item : array.items) {
        ui::Control plain;
        WindowPlace(dialog, item, plain.left, plain.top);
        plain.width = item.width, plain.height = item.height;
        plain.caption = item.list.empty() ? item.caption : item.list.front();
        (array.kind == ui::ControlKind::Button ? buttons : labels).items.push_back(plain);
      }
    }
    count = buttons.items.size() + labels.items.size();
  }
  std::size_t count = 0;
};

void BM_InputSetDialogFrame(benchmark::State& state) {
  frmInput.Show();
  ui::DoEvents();
  for (auto _ : state) ui::DoEvents();
  std::size_t count = 0;
  for (const char* name :
       {"picStat", "txtInfoTitle", "txtInfoPlayer", "listInput", "buttonInputAdd", "buttonInputRemove"}) {
    count += frmInput.Controls(name).items.size();
  }
  state.counters["controls"] = static_cast<double>(count);
  frmInput.Unload();
}
BENCHMARK(BM_InputSetDialogFrame)->Unit(benchmark::kMicrosecond);

void BM_PlainFormFrame(benchmark::State& state) {
  ui::SetWindowlessForms(true);
  frmInput.Show();
  PlainForm plain(frmInput);
  frmInput.Unload();
  ui::SetWindowlessForms(false);
  plain.Show();
  ui::DoEvents();
  for (auto _ : state) ui::DoEvents();
  state.counters["controls"] = static_cast<double>(plain.count);
  plain.Unload();
}
BENCHMARK(BM_PlainFormFrame)->Unit(benchmark::kMicrosecond);

void BM_InputSetDialogBuild(benchmark::State& state) {
  ui::SetWindowlessForms(true);
  for (auto _ : state) {
    frmInput.Show();
    frmInput.Unload();
  }
  ui::SetWindowlessForms(false);
}
BENCHMARK(BM_InputSetDialogBuild)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
