#pragma once
// Inside the forms layer: the window of a loaded form and the drawing of an
// ImGui form (form_drawing.cpp) that the event pump (form.cpp) calls.
#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/form.h"

struct ImGuiContext;

namespace kiv::ui {

struct Form::WindowData {
  SDL_Window* window = nullptr;   // own or adopted
  std::uint32_t windowId = 0;     // kept apart: an adopted window may go before we hear of it
  SDL_GLContext gl = nullptr;     // own windows only
  ImGuiContext* imgui = nullptr;  // own windows only
  gfx::Window* adopted = nullptr;
  std::string title;  // the caption last given to the window (Windows-1252)
  // Where the last frame drew list lines and open drop-down entries (test seam).
  struct DrawnEntry {
    std::string array;
    int index;
    int entry;
    float x, y;
  };
  std::vector<DrawnEntry> drawnEntries;
};

// The events that drawing turns user actions into.
enum class ControlEvent { Click, Change, Scroll };
void RaiseControlEvent(Form& form, ControlEvent event, const std::string& array, int index);

// Creates the form's own window (hidden) with its GL and ImGui contexts; false when no window can be had.
bool CreateImGuiWindow(Form::WindowData& data, const std::string& captionUtf8, int width, int height);
void DestroyImGuiWindow(Form::WindowData& data);
// Feeds an event to the form's ImGui context.
void ImGuiProcessEvent(Form::WindowData& data, const SDL_Event& event);
// Draws one frame of the form; what the user does to enabled controls calls
// onEvent(event, array, index). With swap false the frame stays in the back
// buffer (read back by tests).
using ControlEventSink = std::function<void(ControlEvent, const std::string&, int)>;
void DrawImGuiForm(Form& form, Form::WindowData& data, bool swap, const ControlEventSink& onEvent);
// Reads the back buffer of the form's window (current GL context) as RGBA, top row first.
bool ReadBackBuffer(Form::WindowData& data, std::vector<std::uint8_t>& rgba, int& width, int& height);

// The arrays of a form, for drawing.
const std::deque<ControlArrayOf>& FormArrays(const Form& form);
std::deque<ControlArrayOf>& FormArrays(Form& form);
const Form::WindowData* FormWindowData(const Form& form);
// False while a modal form other than this one is up.
bool FormTakesInput(const Form& form);

// The injected test mouse of the form, if any.
bool InjectedMouseFor(const Form& form, int& x, int& y, bool& down);

// Captions with "&" access-key marks as shown: a single "&" goes, "&&" is one "&".
std::string ShownCaption(const std::string& caption);

}  // namespace kiv::ui
