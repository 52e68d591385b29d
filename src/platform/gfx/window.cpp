#include "platform/gfx/window.h"

#include <SDL.h>
#include <stb_image.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/gfx/d3d_types.h"

namespace kiv::gfx {

Window::Window(const std::string& titleUtf8, int width, int height, bool visible, bool resizable) : owned_(true) {
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    throw std::runtime_error(std::string("SDL video: ") + SDL_GetError());
  }
  Uint32 flags = SDL_WINDOW_OPENGL | (visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
  if (resizable) flags |= SDL_WINDOW_RESIZABLE;
  window_ = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                             flags);
  if (!window_) throw std::runtime_error(std::string("SDL window: ") + SDL_GetError());
}

Window::Window(SDL_Window* existing) : window_(existing), owned_(false) {}

Window::~Window() {
  if (owned_ && window_) SDL_DestroyWindow(window_);
}

int Window::ClientWidth() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return w;
}

int Window::ClientHeight() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return h;
}

void Window::SetClientSize(int width, int height) { SDL_SetWindowSize(window_, width, height); }

void Window::Move(int x, int y) { SDL_SetWindowPosition(window_, x, y); }

int Window::Left() const {
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  return x;
}

int Window::Top() const {
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  return y;
}

namespace {
constexpr std::uint32_t kStyleCaption = 0x00C00000;
constexpr std::uint32_t kStyleSizeFrame = 0x00040000;

std::uint32_t Word16(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t Word32(const std::vector<unsigned char>& b, std::size_t at) {
  return Word16(b, at) | Word16(b, at + 2) << 16;
}

// The bytes of the largest image in an ICO file, or the whole file otherwise.
std::vector<unsigned char> IconImage(const std::vector<unsigned char>& file) {
  if (file.size() < 6 || Word16(file, 0) != 0 || Word16(file, 2) != 1) return file;
  const std::uint32_t count = Word16(file, 4);
  if (count == 0 || file.size() < 6 + 16 * static_cast<std::size_t>(count)) return {};
  std::size_t best = 0, bestArea = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
    const std::size_t w = file[entry] ? file[entry] : 256, h = file[entry + 1] ? file[entry + 1] : 256;
    if (w * h > bestArea) bestArea = w * h, best = entry;
  }
  const std::size_t size = Word32(file, best + 8), offset = Word32(file, best + 12);
  if (offset > file.size() || size > file.size() - offset) return {};
  return std::vector<unsigned char>(file.begin() + static_cast<std::ptrdiff_t>(offset),
                                    file.begin() + static_cast<std::ptrdiff_t>(offset + size));
}
}  // namespace

void Window::SetStyle(std::uint32_t style) {
  style_ = style;
  SDL_SetWindowBordered(window_, (style & kStyleCaption) != 0 ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowResizable(window_, (style & kStyleSizeFrame) != 0 ? SDL_TRUE : SDL_FALSE);
}

void Window::SetTopmost(bool topmost) { SDL_SetWindowAlwaysOnTop(window_, topmost ? SDL_TRUE : SDL_FALSE); }

bool Window::SetIconFromFile(const std::string& pathUtf8) {
  std::ifstream in(pathUtf8, std::ios::binary);
  if (!in) return false;
  const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<unsigned char> image = IconImage(file);
  if (image.empty() || image.size() > 0x7FFFFFFF) return false;
  int w = 0, h = 0, channels = 0;
  // The header's size is checked before the decoder allocates for it.
  if (!stbi_info_from_memory(image.data(), static_cast<int>(image.size()), &w, &h, &channels) ||
      w > static_cast<int>(kMaxTextureSide) || h > static_cast<int>(kMaxTextureSide)) {
    return false;
  }
  stbi_uc* rgba = stbi_load_from_memory(image.data(), static_cast<int>(image.size()), &w, &h, &channels, 4);
  if (!rgba) return false;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(rgba, w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface) {
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
  }
  stbi_image_free(rgba);
  return surface != nullptr;
}

void SetSystemCursorVisible(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace kiv::gfx
