#pragma once
// The one drawing device: a Direct3D-shaped interface over an OpenGL 3.3 core
// context. States are kept by their Direct3D numbers; the fixed-function
// pipeline is one generated GLSL program whose uniforms follow the states.
// Vertices drawn from user memory are streamed into a buffer object.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/d3d_types.h"
#include "platform/gfx/resources.h"

namespace kiv::gfx {

class Window;
class GlProgram;

class Device {
 public:
  // Creates the context on the parameters' window; see Direct3D::CreateDevice.
  static HResult Create(const PresentParameters& parameters, std::unique_ptr<Device>& out);
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  HResult TestCooperativeLevel() const;
  HResult Reset(PresentParameters& parameters);
  HResult Present();
  HResult BeginScene() { return kOk; }
  HResult EndScene() { return kOk; }
  HResult Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil);

  HResult SetViewport(const Viewport& viewport);
  HResult GetViewport(Viewport& viewport) const;
  HResult SetTransform(std::uint32_t state, const Matrix& matrix);
  HResult GetTransform(std::uint32_t state, Matrix& matrix) const;
  HResult SetRenderState(std::uint32_t state, std::uint32_t value);
  HResult GetRenderState(std::uint32_t state, std::uint32_t& value) const;
  HResult SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value);
  HResult GetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t& value) const;
  HResult SetTexture(std::uint32_t stage, TexturePtr texture);
  // The textures that vertices of the kFvfQuadExtras format pick by slot
  // 1..7; they sample with stage 0's states.
  HResult SetSlotTexture(std::uint32_t slot, TexturePtr texture);
  HResult SetMaterial(const Material& material);
  HResult SetLight(std::uint32_t index, const Light& light);
  HResult LightEnable(std::uint32_t index, bool enable);

  // A flexible vertex format code (even) or a handle from CreateVertexShader (odd).
  HResult SetVertexShader(std::uint32_t handle);
  std::uint32_t GetVertexShader() const { return vertexShader_; }
  HResult CreateVertexShader(const std::uint32_t* declaration, const std::uint8_t* program, std::size_t size,
                             std::uint32_t& handle, std::uint32_t usage);
  HResult DeleteVertexShader(std::uint32_t handle);
  HResult SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count);
  HResult CreatePixelShader(const std::uint32_t* program, std::size_t count, std::uint32_t& handle);
  HResult DeletePixelShader(std::uint32_t handle);
  HResult SetPixelShader(std::uint32_t handle);
  HResult SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count);

  HResult DrawPrimitiveUP(std::uint32_t type, std::uint32_t primitiveCount, const void* vertices,
                          std::uint32_t stride);
  HResult DrawIndexedPrimitiveUP(std::uint32_t type, std::uint32_t minIndex, std::uint32_t vertexCount,
                                 std::uint32_t primitiveCount, const void* indices, std::uint32_t indexFormat,
                                 const void* vertices, std::uint32_t stride);

  // A texture of the given size filled from 32-bit ARGB pixels (rows top-down).
  HResult CreateTextureFromArgb(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                                std::uint32_t levels, const std::uint32_t* argb, bool pointFilter,
                                TexturePtr& out);
  // Compressed (DXT) data per level, as stored in a DDS file.
  HResult CreateCompressedTexture(std::uint32_t width, std::uint32_t height, std::uint32_t glFormat,
                                  const std::vector<std::vector<std::uint8_t>>& levels, TexturePtr& out);
  HResult CreateRenderTarget(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                             std::uint32_t multiSample, bool lockable, SurfacePtr& out);
  HResult CreateDepthStencilSurface(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                                    std::uint32_t multiSample, SurfacePtr& out);
  HResult SetRenderTarget(SurfacePtr color, SurfacePtr depthStencil);
  HResult GetRenderTarget(SurfacePtr& out) const;
  HResult GetDepthStencilSurface(SurfacePtr& out) const;
  HResult GetBackBuffer(SurfacePtr& out) const;

  const PresentParameters& Parameters() const { return parameters_; }

  // Draw calls handed to OpenGL since the device was made (the benches count them).
  std::uint64_t DrawCallCount() const { return drawCalls_; }

 private:
  explicit Device(const PresentParameters& parameters);
  HResult Init();
  HResult CreateBackBuffer(std::uint32_t width, std::uint32_t height);
  void ResetStates();
  void ApplyRenderState(std::uint32_t state);
  void ApplySampler(std::uint32_t stage);
  void BindTarget();
  std::uint32_t TargetHeight() const;
  HResult PrepareDraw(const void* vertices, std::size_t vertexBytes, std::uint32_t stride);
  void UploadUniforms(GlProgram& program);
  void BindTextures();
  // A change to the states that feed one group of uniforms.
  void Touch(int group) { groupVersions_[static_cast<std::size_t>(group)] = ++versionClock_; }
  void TouchAll();
  GlProgram* ProgramForShaders();

  struct VertexShader {
    std::vector<std::uint32_t> declaration;
    std::string glsl;
  };
  struct PixelShader {
    std::string glsl;
  };

  PresentParameters parameters_;
  void* context_ = nullptr;  // SDL_GLContext
  std::shared_ptr<ContextToken> token_;
  bool lost_ = false;

  SurfacePtr backBuffer_, backDepth_;
  SurfacePtr currentColor_, currentDepth_;
  std::uint32_t targetFbo_ = 0;
  std::uint32_t presentFbo_ = 0;  // reads the back buffer when presenting

  std::array<std::uint32_t, kRenderStateCount> renderStates_{};
  std::array<std::array<std::uint32_t, kTssStateCount>, kStageCount> stageStates_{};
  std::array<TexturePtr, 4> textures_{};
  std::array<std::uint32_t, 4> samplers_{};
  Viewport viewport_;
  Matrix world_, view_, projection_;
  Material material_;
  std::array<Light, 8> lights_{};
  std::array<bool, 8> lightEnabled_{};
  std::array<float, 96 * 4> vsConstants_{};
  std::array<float, 8 * 4> psConstants_{};

  std::uint32_t vertexShader_ = 0;  // FVF or shader handle
  std::uint32_t pixelShader_ = 0;
  std::map<std::uint32_t, VertexShader> vertexShaders_;
  std::map<std::uint32_t, PixelShader> pixelShaders_;
  std::uint32_t nextVertexShader_ = 0x10001, nextPixelShader_ = 1;

  std::unique_ptr<GlProgram> fixedProgram_;
  // Shader programs by vertex shader handle (0 for the fixed stage), pixel shader and flat colours.
  using ShaderProgramKey = std::array<std::uint32_t, 3>;
  std::map<ShaderProgramKey, std::unique_ptr<GlProgram>> shaderPrograms_;
  // Fixed-function fragment stages by their compiled-in states (vertex shader handle or 0 first,
  // then per stage has-texture and six stage states, then three render states, then flat
  // colours). A fixed-size key so that finding the program of a draw allocates nothing.
  using FixedProgramKey = std::array<int, 6 + 7 * kStageCount>;
  std::map<FixedProgramKey, std::unique_ptr<GlProgram>> fixedPrograms_;
  GlProgram* boundProgram_ = nullptr;
  std::uint32_t vao_ = 0, vbo_ = 0, ibo_ = 0;
  std::uint32_t layoutKey_ = 0xFFFFFFFF, layoutStride_ = 0;
  // The version of each uniform group's states (see UniformGroup), from one clock.
  std::array<std::uint64_t, 10> groupVersions_{};
  std::uint64_t versionClock_ = 0;
  // What the texture units hold, kept alive so that a name is never reused under them.
  std::array<TexturePtr, 4> boundTextures_{};
  std::array<TexturePtr, kTextureSlotCount> slotTextures_{}, boundSlotTextures_{};  // [0] unused
  std::uint64_t drawCalls_ = 0;
};

}  // namespace kiv::gfx
