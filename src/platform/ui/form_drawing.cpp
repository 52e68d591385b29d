#include <epoxy/gl.h>
#include <imgui.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

#include <algorithm>

#include "core/text_encoding.h"
#include "platform/ui/form_window.h"

namespace kiv::ui {
namespace {

constexpr const char* kCaptionFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr float kCaptionFontPixels = 14.0f;

// The characters of Windows-1252: ASCII, Latin-1 and the 27 characters that
// the code page puts at 0x80..0x9F (euro sign, curly quotes, dashes ...).
const ImWchar kWindows1252Ranges[] = {
    0x0020, 0x007E, 0x00A0, 0x00FF, 0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x0178, 0x017D, 0x017E,
    0x0192, 0x0192, 0x02C6, 0x02C6, 0x02DC, 0x02DC, 0x2013, 0x2014, 0x2018, 0x201A, 0x201C, 0x201E,
    0x2020, 0x2022, 0x2026, 0x2026, 0x2030, 0x2030, 0x2039, 0x203A, 0x20AC, 0x20AC, 0x2122, 0x2122,
    0,
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

void DrawControl(const ControlArrayOf& array, std::size_t index, const Control& item,
                 const std::function<void(const std::string&, int)>& onClick) {
  const ImVec2 at(static_cast<float>(item.left), static_cast<float>(item.top));
  const ImVec2 size(static_cast<float>(std::max(item.width, 1)), static_cast<float>(std::max(item.height, 1)));
  const std::string text = AnsiToUtf8(ShownCaption(item.caption));
  ImGui::PushID(static_cast<int>(index));
  ImGui::SetCursorPos(at);
  if (!item.enabled) ImGui::BeginDisabled();
  switch (array.kind) {
    case ControlKind::Button:
      if (ImGui::Button(text.c_str(), size) && item.enabled) onClick(array.name, static_cast<int>(index));
      break;
    case ControlKind::Label:
      ImGui::PushTextWrapPos(at.x + size.x);
      ImGui::TextUnformatted(text.c_str());
      ImGui::PopTextWrapPos();
      break;
    case ControlKind::PictureBox: {
      const ImVec2 origin = ImGui::GetWindowPos();
      const ImVec2 from(origin.x + at.x, origin.y + at.y);
      ImGui::GetWindowDrawList()->AddRect(from, ImVec2(from.x + size.x, from.y + size.y),
                                          ImGui::GetColorU32(ImGuiCol_Border));
      ImGui::Dummy(size);
      break;
    }
  }
  if (!item.enabled) ImGui::EndDisabled();
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
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow(captionUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                        height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
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

void DrawImGuiForm(Form& form, Form::WindowData& data, bool swap,
                   const std::function<void(const std::string&, int)>& onClick) {
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
  ImGui::NewFrame();
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(io.DisplaySize);
  ImGui::Begin("##form", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoScrollWithMouse);
  for (const ControlArrayOf& array : FormArrays(form)) {
    ImGui::PushID(array.name.c_str());
    for (std::size_t i = 0; i < array.items.size(); ++i) {
      if (array.items[i].visible) DrawControl(array, i, array.items[i], onClick);
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
