#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "core/text_encoding.h"
#include "platform/ui/form_window.h"

namespace kiv::ui {
namespace {

constexpr const char* kCaptionFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr float kCaptionFontPixels = 14.0f;

// The characters of Windows-1252: ASCII, Latin-1 and the 27 characters that
// the code page puts at 0x80..0x9F (euro sign, curly quotes, dashes ...).
const ImWchar kWindows1252Ranges[] = {
    0x0020, 0x007E, 0x00A0, 0x00FF, 0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x0178, 0x017D, 0x017E, 0x0192,
    0x0192, 0x02C6, 0x02C6, 0x02DC, 0x02DC, 0x2013, 0x2014, 0x2018, 0x201A, 0x201C, 0x201E, 0x2020, 0x2022,
    0x2026, 0x2026, 0x2030, 0x2030, 0x2039, 0x203A, 0x20AC, 0x20AC, 0x2122, 0x2122, 0,
};

bool windows1252Font = false;

void LoadFonts(ImGuiIO& io) {
  SDL_RWops* probe = SDL_RWFromFile(kCaptionFontPath, "rb");
  if (probe) {
    SDL_RWclose(probe);
    if (io.Fonts->AddFontFromFileTTF(kCaptionFontPath, kCaptionFontPixels, nullptr, kWindows1252Ranges)) {
      windows1252Font = true;
      return;
    }
  }
  windows1252Font = false;
  io.Fonts->AddFontDefault();  // ASCII only
}

// A light style close to the desktop's dialog colours.
void SetStyle() {
  ImGui::StyleColorsLight();
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowPadding = ImVec2(0, 0);
  style.WindowBorderSize = 0;
  style.FrameBorderSize = 1;
  style.FrameRounding = 0;
  style.Colors[ImGuiCol_WindowBg] = ImVec4(0.831f, 0.816f, 0.784f, 1.0f);
  style.Colors[ImGuiCol_Button] = ImVec4(0.890f, 0.875f, 0.847f, 1.0f);
  style.Colors[ImGuiCol_ButtonHovered] = ImVec4(0.937f, 0.925f, 0.902f, 1.0f);
  style.Colors[ImGuiCol_ButtonActive] = ImVec4(0.753f, 0.741f, 0.718f, 1.0f);
  style.Colors[ImGuiCol_Border] = ImVec4(0.35f, 0.35f, 0.35f, 1.0f);
  style.Colors[ImGuiCol_Text] = ImVec4(0, 0, 0, 1.0f);
}

// Where a control lies in the form and what of it may show: its rectangle,
// the clipping rectangle of the picture boxes holding it, and whether it and
// all its containers are visible and enabled.
struct Placement {
  ImVec2 min, max;
  ImVec2 clipMin, clipMax;
  bool visible = false;
  bool enabled = false;
};

class FormLayout {
 public:
  explicit FormLayout(const Form& form) : form_(form) {}

  const Placement& Of(const Control& control, int depth = 0) {
    auto found = memo_.find(&control);
    if (found != memo_.end()) return found->second;
    Placement place;
    place.visible = control.loaded && control.visible;
    place.enabled = control.enabled;
    ImVec2 origin(0, 0);
    place.clipMin = ImVec2(0, 0);
    place.clipMax = ImVec2(static_cast<float>(form_.clientWidth), static_cast<float>(form_.clientHeight));
    if (!control.container.empty()) {
      const Control* holder = Container(control);
      if (!holder || depth > 16) {
        place.visible = false;
      } else {
        const Placement& outer = Of(*holder, depth + 1);
        origin = outer.min;
        place.clipMin =
            ImVec2(std::max(outer.min.x, outer.clipMin.x), std::max(outer.min.y, outer.clipMin.y));
        place.clipMax =
            ImVec2(std::min(outer.max.x, outer.clipMax.x), std::min(outer.max.y, outer.clipMax.y));
        place.visible = place.visible && outer.visible;
        place.enabled = place.enabled && outer.enabled;
      }
    }
    place.min =
        ImVec2(origin.x + static_cast<float>(control.left), origin.y + static_cast<float>(control.top));
    place.max = ImVec2(place.min.x + static_cast<float>(std::max(control.width, 1)),
                       place.min.y + static_cast<float>(std::max(control.height, 1)));
    return memo_.emplace(&control, place).first->second;
  }

  // Some part of the control lies inside its clipping rectangle.
  static bool Shows(const Placement& place) {
    return place.visible && place.min.x < place.clipMax.x && place.max.x > place.clipMin.x &&
           place.min.y < place.clipMax.y && place.max.y > place.clipMin.y;
  }

 private:
  const Control* Container(const Control& control) {
    const ControlArrayOf* array = nullptr;
    for (const auto& [name, known] : arrays_) {
      if (name == control.container) array = known;
    }
    if (!array) {
      for (const ControlArrayOf& candidate : FormArrays(form_)) {
        if (candidate.name == control.container) array = &candidate;
      }
      if (!array) return nullptr;
      arrays_.emplace_back(control.container, array);
    }
    return array->HasItem(control.containerIndex) ? &array->Item(control.containerIndex) : nullptr;
  }

  const Form& form_;
  std::unordered_map<const Control*, Placement> memo_;
  std::vector<std::pair<std::string, const ControlArrayOf*>> arrays_;  // the containers found so far
};

std::int32_t Clamp(std::int32_t value, std::int32_t low, std::int32_t high) {
  return high < low ? low : std::clamp(value, low, high);
}

// A horizontal slider: a press on the thumb drags it (a Scroll event per step,
// Change when let go); a press beside it moves one large step toward the press.
void DrawSlider(const std::string& name, int index, Control& item, const Placement& place,
                const ControlEventSink& onEvent) {
  ImGui::InvisibleButton("##slider", ImVec2(place.max.x - place.min.x, place.max.y - place.min.y));
  ImGuiStorage* state = ImGui::GetStateStorage();
  const ImGuiID dragging = ImGui::GetID("##slider");
  const float pad = 6;
  const float x0 = place.min.x + pad, x1 = place.max.x - pad;
  const float range = static_cast<float>(std::max(item.max - item.min, 1));
  const auto thumbAt = [&](std::int32_t value) {
    return x0 + static_cast<float>(value - item.min) / range * (x1 - x0);
  };
  const float mouseX = ImGui::GetIO().MousePos.x;
  if (ImGui::IsItemActivated()) {
    const float thumb = thumbAt(item.value);
    if (std::fabs(mouseX - thumb) <= pad) {
      state->SetBool(dragging, true);
    } else {
      const std::int32_t next =
          Clamp(item.value + (mouseX < thumb ? -item.largeChange : item.largeChange), item.min, item.max);
      if (next != item.value) {
        item.value = next;
        onEvent(ControlEvent::Change, name, index);
      }
    }
  }
  if (ImGui::IsItemActive() && state->GetBool(dragging)) {
    const float share = x1 > x0 ? (mouseX - x0) / (x1 - x0) : 0;
    const std::int32_t next =
        Clamp(item.min + static_cast<std::int32_t>(std::lround(share * range)), item.min, item.max);
    if (next != item.value) {
      item.value = next;
      onEvent(ControlEvent::Scroll, name, index);
    }
  }
  if (ImGui::IsItemDeactivated() && state->GetBool(dragging)) {
    state->SetBool(dragging, false);
    onEvent(ControlEvent::Change, name, index);
  }
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const float middle = (place.min.y + place.max.y) / 2;
  const ImU32 border = ImGui::GetColorU32(ImGuiCol_Border);
  draw->AddRectFilled(ImVec2(x0, middle - 2), ImVec2(x1, middle + 2), ImGui::GetColorU32(ImGuiCol_FrameBg));
  draw->AddRect(ImVec2(x0, middle - 2), ImVec2(x1, middle + 2), border);
  const float thumb = thumbAt(Clamp(item.value, item.min, item.max));
  const ImVec2 thumbMin(thumb - pad + 1, place.min.y + 2), thumbMax(thumb + pad - 1, place.max.y - 2);
  draw->AddRectFilled(thumbMin, thumbMax, ImGui::GetColorU32(ImGuiCol_Button));
  draw->AddRect(thumbMin, thumbMax, border);
}

// A vertical scroll bar: arrows at both ends (one small step), the track
// beside the thumb (one large step), the thumb dragged (Scroll per step,
// Change when let go).
void DrawScrollBar(const std::string& name, int index, Control& item, const Placement& place,
                   const ControlEventSink& onEvent) {
  const float width = place.max.x - place.min.x;
  ImGui::InvisibleButton("##scroll", ImVec2(width, place.max.y - place.min.y));
  ImGuiStorage* state = ImGui::GetStateStorage();
  const ImGuiID grab = ImGui::GetID("##scroll");
  const float arrow = std::min(width, (place.max.y - place.min.y) / 3);
  const float trackTop = place.min.y + arrow, trackBottom = place.max.y - arrow;
  const float thumbHeight = std::min(arrow, trackBottom - trackTop);
  const float travel = std::max(trackBottom - trackTop - thumbHeight, 1.0f);
  const float range = static_cast<float>(item.max - item.min);
  const auto thumbTop = [&](std::int32_t value) {
    return range > 0 ? trackTop + static_cast<float>(value - item.min) / range * travel : trackTop;
  };
  const float mouseY = ImGui::GetIO().MousePos.y;
  const auto step = [&](std::int32_t by) {
    const std::int32_t next = Clamp(item.value + by, item.min, item.max);
    if (next == item.value) return;
    item.value = next;
    onEvent(ControlEvent::Change, name, index);
  };
  if (ImGui::IsItemActivated()) {
    const float top = thumbTop(item.value);
    if (mouseY < trackTop) {
      step(-item.smallChange);
    } else if (mouseY >= trackBottom) {
      step(item.smallChange);
    } else if (mouseY < top) {
      step(-item.largeChange);
    } else if (mouseY >= top + thumbHeight) {
      step(item.largeChange);
    } else {
      state->SetFloat(grab, mouseY - top + 1);  // the grab point inside the thumb, kept above 0
    }
  }
  const float grabbed = state->GetFloat(grab, 0);
  if (ImGui::IsItemActive() && grabbed > 0 && range > 0) {
    const float share = (mouseY - (grabbed - 1) - trackTop) / travel;
    const std::int32_t next =
        Clamp(item.min + static_cast<std::int32_t>(std::lround(share * range)), item.min, item.max);
    if (next != item.value) {
      item.value = next;
      onEvent(ControlEvent::Scroll, name, index);
    }
  }
  if (ImGui::IsItemDeactivated() && grabbed > 0) {
    state->SetFloat(grab, 0);
    onEvent(ControlEvent::Change, name, index);
  }
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImU32 border = ImGui::GetColorU32(ImGuiCol_Border);
  const ImU32 face = ImGui::GetColorU32(ImGuiCol_Button);
  const ImU32 ink = ImGui::GetColorU32(ImGuiCol_Text);
  draw->AddRectFilled(place.min, place.max, ImGui::GetColorU32(ImGuiCol_ScrollbarBg));
  for (int end = 0; end < 2; ++end) {
    const float y0 = end == 0 ? place.min.y : trackBottom;
    draw->AddRectFilled(ImVec2(place.min.x, y0), ImVec2(place.max.x, y0 + arrow), face);
    draw->AddRect(ImVec2(place.min.x, y0), ImVec2(place.max.x, y0 + arrow), border);
    const float cx = (place.min.x + place.max.x) / 2, cy = y0 + arrow / 2, r = arrow / 4;
    if (end == 0) {
      draw->AddTriangleFilled(ImVec2(cx, cy - r), ImVec2(cx + r, cy + r), ImVec2(cx - r, cy + r), ink);
    } else {
      draw->AddTriangleFilled(ImVec2(cx - r, cy - r), ImVec2(cx + r, cy - r), ImVec2(cx, cy + r), ink);
    }
  }
  if (item.enabled && range > 0) {
    const float top = thumbTop(Clamp(item.value, item.min, item.max));
    draw->AddRectFilled(ImVec2(place.min.x + 1, top), ImVec2(place.max.x - 1, top + thumbHeight), face);
    draw->AddRect(ImVec2(place.min.x + 1, top), ImVec2(place.max.x - 1, top + thumbHeight), border);
  }
}

void Record(Form::WindowData& data, const std::string& name, int index, int entry) {
  if (!ImGui::IsItemVisible()) return;
  const ImVec2 min = ImGui::GetItemRectMin(), max = ImGui::GetItemRectMax();
  data.drawnEntries.push_back({name, index, entry, (min.x + max.x) / 2, (min.y + max.y) / 2});
}

// A list box drawn in the form's own window (no child window: a dialog may
// hold hundreds of them), its lines clipped to the box, with a scroll bar of
// its own and the wheel when the lines do not fit.
void DrawListBox(Form::WindowData& data, const std::string& name, int index, Control& item,
                 const Placement& place, const ControlEventSink& onEvent) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  draw->AddRectFilled(place.min, place.max, ImGui::GetColorU32(ImGuiCol_FrameBg));
  draw->AddRect(place.min, place.max, ImGui::GetColorU32(ImGuiCol_Border));
  const float line = ImGui::GetTextLineHeightWithSpacing();
  const int count = static_cast<int>(item.list.size());
  const int shown = std::max(1, static_cast<int>((place.max.y - place.min.y - 2) / line));
  const bool scrolls = count > shown;
  const float barWidth = scrolls ? 16 : 0;
  ImGuiStorage* state = ImGui::GetStateStorage();
  const ImGuiID topId = ImGui::GetID("##top");
  int top = state->GetInt(topId, 0);
  if (scrolls) {
    const ImGuiIO& io = ImGui::GetIO();
    if (place.enabled && io.MouseWheel != 0 && ImGui::IsMouseHoveringRect(place.min, place.max)) {
      top -= static_cast<int>(io.MouseWheel);
    }
    Control bar;
    bar.min = 0, bar.max = count - shown, bar.smallChange = 1, bar.largeChange = shown;
    bar.value = std::clamp(top, 0, bar.max);
    Placement barPlace = place;
    barPlace.min.x = place.max.x - barWidth;
    ImGui::SetCursorPos(barPlace.min);
    DrawScrollBar(name, index, bar, barPlace, [](ControlEvent, const std::string&, int) {});
    top = bar.value;
  }
  top = std::clamp(top, 0, std::max(0, count - shown));
  state->SetInt(topId, top);
  ImGui::PushClipRect(ImVec2(place.min.x + 1, place.min.y + 1),
                      ImVec2(place.max.x - barWidth - 1, place.max.y - 1), true);
  for (int at = top; at < count && at <= top + shown; ++at) {
    ImGui::PushID(at);
    ImGui::SetCursorPos(ImVec2(place.min.x + 2, place.min.y + 2 + static_cast<float>(at - top) * line));
    const std::string text = AnsiToUtf8(item.list[static_cast<std::size_t>(at)]);
    if (ImGui::Selectable(text.c_str(), item.listIndex == at, 0,
                          ImVec2(place.max.x - place.min.x - barWidth - 4, 0))) {
      item.listIndex = at;
      onEvent(ControlEvent::Click, name, index);
    }
    Record(data, name, index, at);
    ImGui::PopID();
  }
  ImGui::PopClipRect();
}

void DrawControl(Form::WindowData& data, const ControlArrayOf& array, std::size_t index, Control& item,
                 const Placement& place, const ControlEventSink& onEvent) {
  const ImVec2 at = place.min;
  const ImVec2 size(place.max.x - place.min.x, place.max.y - place.min.y);
  const int number = static_cast<int>(index);
  const std::string& name = array.name;
  ImGui::PushID(number);
  ImGui::SetCursorPos(at);
  ImGui::PushClipRect(place.clipMin, place.clipMax, true);
  if (!place.enabled) ImGui::BeginDisabled();
  switch (array.kind) {
    case ControlKind::Button: {
      const std::string text = AnsiToUtf8(ShownCaption(item.caption));
      if (ImGui::Button(text.c_str(), size) && place.enabled) onEvent(ControlEvent::Click, name, number);
      break;
    }
    case ControlKind::Label: {
      const std::string text = AnsiToUtf8(ShownCaption(item.caption));
      ImGui::PushTextWrapPos(at.x + size.x);
      ImGui::TextUnformatted(text.c_str());
      ImGui::PopTextWrapPos();
      break;
    }
    case ControlKind::PictureBox:
      if (item.border)
        ImGui::GetWindowDrawList()->AddRect(at, place.max, ImGui::GetColorU32(ImGuiCol_Border));
      break;
    case ControlKind::CheckBox: {
      // The whole rectangle takes the click, as the desktop's check boxes do.
      if (ImGui::InvisibleButton("##check", size) && place.enabled) {
        item.value = item.value != 0 ? 0 : 1;
        onEvent(ControlEvent::Click, name, number);
      }
      ImDrawList* draw = ImGui::GetWindowDrawList();
      const float side = 13, middle = (at.y + place.max.y) / 2;
      const ImVec2 boxMin(at.x + 2, middle - side / 2), boxMax(at.x + 2 + side, middle + side / 2);
      draw->AddRectFilled(
          boxMin, boxMax,
          ImGui::GetColorU32(ImGui::IsItemHovered() ? ImGuiCol_FrameBgHovered : ImGuiCol_FrameBg));
      draw->AddRect(boxMin, boxMax, ImGui::GetColorU32(ImGuiCol_Border));
      if (item.value != 0) {
        const ImVec2 mark[] = {ImVec2(boxMin.x + 3, middle), ImVec2(boxMin.x + 5.5f, middle + 3),
                               ImVec2(boxMin.x + 10, middle - 3.5f)};
        draw->AddPolyline(mark, 3, ImGui::GetColorU32(ImGuiCol_Text), 0, 2);
      }
      const std::string text = AnsiToUtf8(ShownCaption(item.caption));
      const float fontSize = ImGui::GetFontSize();
      draw->AddText(ImVec2(boxMax.x + 6, middle - fontSize / 2), ImGui::GetColorU32(ImGuiCol_Text),
                    text.c_str());
      break;
    }
    case ControlKind::TextBox: {
      std::string text = AnsiToUtf8(item.text);
      ImGui::SetNextItemWidth(size.x);
      if (ImGui::InputText("##text", &text, ImGuiInputTextFlags_AutoSelectAll)) {
        item.text = Utf8ToAnsi(text);
        onEvent(ControlEvent::Change, name, number);
      }
      break;
    }
    case ControlKind::ListBox:
      DrawListBox(data, name, number, item, place, onEvent);
      break;
    case ControlKind::DropDown: {
      const bool chosen = item.listIndex >= 0 && static_cast<std::size_t>(item.listIndex) < item.list.size();
      const std::string preview =
          chosen ? AnsiToUtf8(item.list[static_cast<std::size_t>(item.listIndex)]) : "";
      ImGui::SetNextItemWidth(size.x);
      if (ImGui::BeginCombo("##drop", preview.c_str(), ImGuiComboFlags_HeightLargest)) {
        for (std::size_t line = 0; line < item.list.size(); ++line) {
          ImGui::PushID(static_cast<int>(line));
          const std::string text = AnsiToUtf8(item.list[line]);
          if (ImGui::Selectable(text.c_str(), item.listIndex == static_cast<std::int32_t>(line))) {
            item.listIndex = static_cast<std::int32_t>(line);
            onEvent(ControlEvent::Click, name, number);
          }
          Record(data, name, number, static_cast<int>(line));
          ImGui::PopID();
        }
        ImGui::EndCombo();
      }
      break;
    }
    case ControlKind::Slider:
      DrawSlider(name, number, item, place, onEvent);
      break;
    case ControlKind::ScrollBar:
      DrawScrollBar(name, number, item, place, onEvent);
      break;
    case ControlKind::Timer:
      break;
  }
  if (!place.enabled) ImGui::EndDisabled();
  ImGui::PopClipRect();
  ImGui::PopID();
}

}  // namespace

std::string ShownCaption(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') shown += '&', ++i;
      continue;
    }
    shown += caption[i];
  }
  return shown;
}

bool FormsUseWindows1252Font() { return windows1252Font; }

bool CreateImGuiWindow(Form::WindowData& data, const std::string& captionUtf8, int width, int height) {
  // Termination signals keep their default effect instead of becoming a quit
  // event that no form asked for.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow(captionUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return false;
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
  SDL_GLContext gl = SDL_GL_CreateContext(window);
  if (!gl) {
    SDL_DestroyWindow(window);
    return false;
  }
  SDL_GL_MakeCurrent(window, gl);
  ImGuiContext* previousImGui = ImGui::GetCurrentContext();
  ImGuiContext* context = ImGui::CreateContext();
  ImGui::SetCurrentContext(context);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  LoadFonts(io);
  SetStyle();
  ImGui_ImplSDL2_InitForOpenGL(window, gl);
  ImGui_ImplOpenGL3_Init("#version 330");
  data.window = window;
  data.windowId = SDL_GetWindowID(window);
  data.gl = gl;
  data.imgui = context;
  data.title.clear();
  SDL_StartTextInput();
  if (previousImGui) ImGui::SetCurrentContext(previousImGui);
  SDL_GL_MakeCurrent(previousWindow, previousContext);
  return true;
}

void DestroyImGuiWindow(Form::WindowData& data) {
  if (!data.imgui) return;
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
  SDL_GL_MakeCurrent(data.window, data.gl);
  ImGuiContext* previousImGui = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(data.imgui);
  ImGui_ImplOpenGL3_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext(data.imgui);
  ImGui::SetCurrentContext(previousImGui == data.imgui ? nullptr : previousImGui);
  SDL_GL_MakeCurrent(nullptr, nullptr);
  SDL_GL_DeleteContext(data.gl);
  SDL_DestroyWindow(data.window);
  if (previousContext != data.gl) SDL_GL_MakeCurrent(previousWindow, previousContext);
  data = Form::WindowData{};
}

void ImGuiProcessEvent(Form::WindowData& data, const SDL_Event& event) {
  ImGui::SetCurrentContext(data.imgui);
  ImGui_ImplSDL2_ProcessEvent(&event);
}

void DrawImGuiForm(Form& form, Form::WindowData& data, bool swap, const ControlEventSink& onEvent) {
  SDL_GL_MakeCurrent(data.window, data.gl);
  ImGui::SetCurrentContext(data.imgui);
  if (data.title != form.caption) {
    data.title = form.caption;
    SDL_SetWindowTitle(data.window, AnsiToUtf8(form.caption).c_str());
  }
  ImGui_ImplOpenGL3_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGuiIO& io = ImGui::GetIO();
  int mouseX = 0, mouseY = 0;
  bool mouseDown = false;
  if (InjectedMouseFor(form, mouseX, mouseY, mouseDown)) {
    io.MousePos = ImVec2(static_cast<float>(mouseX), static_cast<float>(mouseY));
    io.MouseDown[0] = mouseDown;
  }
  if (!FormTakesInput(form)) {
    // Under a modal form: drawn, but the mouse is nowhere.
    io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
    for (bool& down : io.MouseDown) down = false;
  }
  data.drawnEntries.clear();
  ImGui::NewFrame();
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(io.DisplaySize);
  ImGui::Begin("##form", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoScrollWithMouse);
  FormLayout layout(form);
  for (ControlArrayOf& array : FormArrays(form)) {
    if (array.kind == ControlKind::Timer) continue;
    ImGui::PushID(array.name.c_str());
    for (std::size_t i = 0; i < array.items.size(); ++i) {
      Control& item = array.items[i];
      if (!item.visible || !item.loaded) continue;
      const Placement& place = layout.Of(item);
      if (FormLayout::Shows(place)) DrawControl(data, array, i, item, place, onEvent);
    }
    ImGui::PopID();
  }
  ImGui::End();
  ImGui::Render();
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(data.window, &width, &height);
  glViewport(0, 0, width, height);
  const ImVec4 back = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
  glClearColor(back.x, back.y, back.z, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
  if (swap) SDL_GL_SwapWindow(data.window);
}

bool ControlPoint(const Form& form, const std::string& arrayName, int index, int entry, int& x, int& y) {
  if (entry >= 0) {
    const Form::WindowData* data = FormWindowData(form);
    if (!data) return false;
    for (const Form::WindowData::DrawnEntry& drawn : data->drawnEntries) {
      if (drawn.array == arrayName && drawn.index == index && drawn.entry == entry) {
        x = static_cast<int>(drawn.x), y = static_cast<int>(drawn.y);
        return true;
      }
    }
    return false;
  }
  const ControlArrayOf& array = form.Controls(arrayName);
  if (!array.HasItem(index)) return false;
  FormLayout layout(form);
  const Placement& place = layout.Of(array.Item(index));
  if (!FormLayout::Shows(place)) return false;
  const float left = std::max(place.min.x, place.clipMin.x), right = std::min(place.max.x, place.clipMax.x);
  const float top = std::max(place.min.y, place.clipMin.y), bottom = std::min(place.max.y, place.clipMax.y);
  x = static_cast<int>((left + right) / 2), y = static_cast<int>((top + bottom) / 2);
  return true;
}

bool ReadBackBuffer(Form::WindowData& data, std::vector<std::uint8_t>& rgba, int& width, int& height) {
  SDL_GL_GetDrawableSize(data.window, &width, &height);
  if (width <= 0 || height <= 0) return false;
  const std::size_t row = static_cast<std::size_t>(width) * 4;
  std::vector<std::uint8_t> flipped(row * static_cast<std::size_t>(height));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, flipped.data());
  rgba.resize(flipped.size());
  for (int y = 0; y < height; ++y) {
    std::copy_n(flipped.data() + row * static_cast<std::size_t>(height - 1 - y), row,
                rgba.data() + row * static_cast<std::size_t>(y));
  }
  return true;
}

}  // namespace kiv::ui
