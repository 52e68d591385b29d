// 10,000 screen quads a frame: through the batcher and the device, and through
// a minimal hand-written GL loop that uploads the same vertices once a frame.
// Both end the frame by reading one pixel, which waits for the drawing.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <memory>
#include <vector>

#include "media/graphics.h"
#include "media/quad_batcher.h"

namespace {

constexpr int kQuads = 10000;
constexpr int kWidth = 640, kHeight = 480;

float QuadX(int i) { return static_cast<float>((i * 37) % (kWidth - 8)); }
float QuadY(int i) { return static_cast<float>((i * 53) % (kHeight - 8)); }

void BM_BatcherScreenQuads(benchmark::State& state) {
  using namespace kiv;
  graphics.Reset();
  GraphicsCreateDirectX();
  GraphicsCreateDirect3D();
  auto window = std::make_unique<gfx::Window>("bench", kWidth, kHeight, false, false);
  std::uint32_t format = 0, depth = 0;
  GraphicsFindDisplayMode(0, 0, 0, 0, format, depth, true, true);
  graphics.defaultVertexFormat = kScreenVertexFormat;
  if (GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, depth) != 0) {
    state.SkipWithError("no device");
    return;
  }
  GraphicsCreateD3DX();
  gfx::Device& device = *graphics.direct3dDevice;
  device.SetRenderState(gfx::kRsZEnable, 0);
  gfx::SurfacePtr back;
  device.GetBackBuffer(back);
  for (auto _ : state) {
    device.Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
    for (int i = 0; i < kQuads; ++i) QuadAddScreen(QuadX(i), QuadY(i), 8, 8, 0, 0, 1, 1, 0xFF80C040, 0);
    QuadBatchFlushScreen();
    gfx::LockedRect locked;
    gfx::Rect pixel{0, 0, 1, 1};
    back->LockRect(locked, &pixel, 0);
    back->UnlockRect();
  }
  state.SetItemsProcessed(state.iterations() * kQuads);
  graphics.Reset();
}
BENCHMARK(BM_BatcherScreenQuads)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec4 aPosition;
layout(location = 2) in vec4 aDiffuse;
out vec4 color;
void main() {
  gl_Position = vec4((aPosition.x + 0.5) / 320.0 - 1.0, 1.0 - (aPosition.y + 0.5) / 240.0, 0.0, 1.0);
  color = aDiffuse;
}
)";
const char* kFragmentSource = R"(#version 330 core
in vec4 color;
out vec4 fragColor;
void main() { fragColor = color; }
)";

GLuint Compile(GLenum kind, const char* source) {
  GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

void BM_HandWrittenScreenQuads(benchmark::State& state) {
  SDL_InitSubSystem(SDL_INIT_VIDEO);
  SDL_Window* window = SDL_CreateWindow("bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  SDL_GL_MakeCurrent(window, context);
  GLuint program = glCreateProgram();
  GLuint vs = Compile(GL_VERTEX_SHADER, kVertexSource), fs = Compile(GL_FRAGMENT_SHADER, kFragmentSource);
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glUseProgram(program);
  GLuint fbo = 0, color = 0, vao = 0, buffers[2];
  glGenTextures(1, &color);
  glBindTexture(GL_TEXTURE_2D, color);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
  glViewport(0, 0, kWidth, kHeight);
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glGenBuffers(2, buffers);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 32, nullptr);
  glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 32, reinterpret_cast<const void*>(16));
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(2);
  std::vector<std::uint16_t> indices;
  for (int q = 0; q < 8191; ++q) {
    for (int k : {0, 1, 2, 2, 1, 3}) indices.push_back(static_cast<std::uint16_t>(4 * q + k));
  }
  std::vector<kiv::ScreenVertex> vertices(static_cast<std::size_t>(kQuads) * 4);
  for (auto _ : state) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The same per-frame work of writing the vertices, then one upload per 8191 quads.
    for (int i = 0; i < kQuads; ++i) {
      const float x = QuadX(i) - 0.5f, y = QuadY(i) - 0.5f;
      kiv::ScreenVertex* v = &vertices[static_cast<std::size_t>(i) * 4];
      v[0] = {x, y + 8, 0, 1, 0xFF80C040, 0, 0, 1};
      v[1] = {x, y, 0, 1, 0xFF80C040, 0, 0, 0};
      v[2] = {x + 8, y + 8, 0, 1, 0xFF80C040, 0, 1, 1};
      v[3] = {x + 8, y, 0, 1, 0xFF80C040, 0, 1, 0};
    }
    for (int first = 0; first < kQuads; first += 8191) {
      const int count = std::min(8191, kQuads - first);
      glBufferData(GL_ARRAY_BUFFER, count * 4 * 32, &vertices[static_cast<std::size_t>(first) * 4], GL_STREAM_DRAW);
      glBufferData(GL_ELEMENT_ARRAY_BUFFER, count * 6 * 2, indices.data(), GL_STREAM_DRAW);
      glDrawElements(GL_TRIANGLES, count * 6, GL_UNSIGNED_SHORT, nullptr);
    }
    std::uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    benchmark::DoNotOptimize(pixel);
  }
  state.SetItemsProcessed(state.iterations() * kQuads);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
}
BENCHMARK(BM_HandWrittenScreenQuads)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
