#include "platform/gfx/device.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstring>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "platform/gfx/gl_formats.h"
#include "platform/gfx/gl_program.h"
#include "platform/gfx/shader_glsl.h"
#include "platform/gfx/window.h"

namespace kiv::gfx {
namespace {

glm::mat4 ToGlm(const Matrix& m) {
  glm::mat4 g;
  std::memcpy(glm::value_ptr(g), &m.m[0][0], sizeof(float) * 16);
  return g;
}

float AsFloat(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

std::uint32_t FloatBits(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

GLenum GlCompare(std::uint32_t func) {
  switch (func) {
    case kCmpNever:
      return GL_NEVER;
    case kCmpLess:
      return GL_LESS;
    case kCmpEqual:
      return GL_EQUAL;
    case kCmpLessEqual:
      return GL_LEQUAL;
    case kCmpGreater:
      return GL_GREATER;
    case kCmpNotEqual:
      return GL_NOTEQUAL;
    case kCmpGreaterEqual:
      return GL_GEQUAL;
    default:
      return GL_ALWAYS;
  }
}

GLenum GlBlend(std::uint32_t blend) {
  switch (blend) {
    case kBlendZero:
      return GL_ZERO;
    case kBlendSrcColor:
      return GL_SRC_COLOR;
    case kBlendInvSrcColor:
      return GL_ONE_MINUS_SRC_COLOR;
    case kBlendSrcAlpha:
    case 12:  // both source alpha
      return GL_SRC_ALPHA;
    case kBlendInvSrcAlpha:
    case 13:  // both inverse source alpha
      return GL_ONE_MINUS_SRC_ALPHA;
    case kBlendDestAlpha:
      return GL_DST_ALPHA;
    case kBlendInvDestAlpha:
      return GL_ONE_MINUS_DST_ALPHA;
    case kBlendDestColor:
      return GL_DST_COLOR;
    case kBlendInvDestColor:
      return GL_ONE_MINUS_DST_COLOR;
    case kBlendSrcAlphaSat:
      return GL_SRC_ALPHA_SATURATE;
    default:
      return GL_ONE;
  }
}

GLenum GlStencilOp(std::uint32_t op) {
  switch (op) {
    case kStencilZero:
      return GL_ZERO;
    case kStencilReplace:
      return GL_REPLACE;
    case kStencilIncrSat:
      return GL_INCR;
    case kStencilDecrSat:
      return GL_DECR;
    case kStencilInvert:
      return GL_INVERT;
    case kStencilIncr:
      return GL_INCR_WRAP;
    case kStencilDecr:
      return GL_DECR_WRAP;
    default:
      return GL_KEEP;
  }
}

GLenum GlAddress(std::uint32_t mode) {
  switch (mode) {
    case kTaddressMirror:
      return GL_MIRRORED_REPEAT;
    case kTaddressClamp:
      return GL_CLAMP_TO_EDGE;
    case 4:  // border
      return GL_CLAMP_TO_BORDER;
    default:
      return GL_REPEAT;
  }
}

// Vertices a primitive count needs, 0 for an unknown type.
std::uint32_t VerticesFor(std::uint32_t type, std::uint32_t count, GLenum& mode) {
  switch (type) {
    case kPrimPointList:
      mode = GL_POINTS;
      return count;
    case kPrimLineList:
      mode = GL_LINES;
      return count * 2;
    case kPrimLineStrip:
      mode = GL_LINE_STRIP;
      return count + 1;
    case kPrimTriangleList:
      mode = GL_TRIANGLES;
      return count * 3;
    case kPrimTriangleStrip:
      mode = GL_TRIANGLE_STRIP;
      return count + 2;
    case kPrimTriangleFan:
      mode = GL_TRIANGLE_FAN;
      return count + 2;
    default:
      return 0;
  }
}

void ColorToFloats(std::uint32_t argb, float out[4]) {
  out[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
  out[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
  out[2] = static_cast<float>(argb & 0xFF) / 255.0f;
  out[3] = static_cast<float>(argb >> 24) / 255.0f;
}

bool IsShaderHandle(std::uint32_t handle) { return (handle & 1) != 0; }

// Slot textures 1..7 live on units 4..10, after the four stage units.
GLuint SlotUnit(std::uint32_t slot) { return 3 + slot; }

}  // namespace

Device::Device(const PresentParameters& parameters) : parameters_(parameters) {}

HResult Device::Create(const PresentParameters& parameters, std::unique_ptr<Device>& out) {
  out.reset();
  if (!parameters.deviceWindow || !parameters.deviceWindow->Handle()) return kErrInvalidCall;
  std::unique_ptr<Device> device(new Device(parameters));
  const HResult hr = device->Init();
  if (hr != kOk) return hr;
  out = std::move(device);
  return kOk;
}

HResult Device::Init() {
  if (parameters_.enableAutoDepthStencil && GlDepthFormat(parameters_.autoDepthStencilFormat) == 0) {
    return kErrInvalidCall;
  }
  if (!parameters_.windowed && (!IsDisplayFormat(parameters_.backBufferFormat) ||
                                parameters_.backBufferWidth == 0 || parameters_.backBufferHeight == 0)) {
    return kErrInvalidCall;
  }
  SDL_Window* window = parameters_.deviceWindow->Handle();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  context_ = SDL_GL_CreateContext(window);
  if (!context_) return kErrNotAvailable;
  SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context_));
  SDL_GL_SetSwapInterval(0);
  token_ = std::make_shared<ContextToken>();

  fixedProgram_ = std::make_unique<GlProgram>(FixedVertexSource(), FixedFragmentSource());
  if (!fixedProgram_->Ok()) {
    SDL_Log("fixed-function program: %s", fixedProgram_->Log().c_str());
    return kErrNotAvailable;
  }
  GLuint names[3];
  glGenVertexArrays(1, names);
  vao_ = names[0];
  glBindVertexArray(vao_);
  glGenBuffers(2, names);
  vbo_ = names[0];
  ibo_ = names[1];
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
  GLuint samplers[4];
  glGenSamplers(4, samplers);
  for (int i = 0; i < 4; ++i) {
    samplers_[static_cast<std::size_t>(i)] = samplers[i];
    glBindSampler(static_cast<GLuint>(i), samplers[i]);
  }
  // The slot textures' units sample with stage 0's sampler.
  for (std::uint32_t slot = 1; slot < kTextureSlotCount; ++slot) glBindSampler(SlotUnit(slot), samplers[0]);
  GLuint fbos[2] = {};
  glGenFramebuffers(2, fbos);
  targetFbo_ = fbos[0];
  presentFbo_ = fbos[1];
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // Flat shading colours a triangle by its first vertex (the second of a fan).
  glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);

  if (!parameters_.windowed) {
    SDL_DisplayMode mode{};
    SDL_GetWindowDisplayMode(window, &mode);
    mode.w = static_cast<int>(parameters_.backBufferWidth);
    mode.h = static_cast<int>(parameters_.backBufferHeight);
    mode.refresh_rate = static_cast<int>(parameters_.fullScreenRefreshRateInHz);
    SDL_SetWindowDisplayMode(window, &mode);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
  }
  const std::uint32_t width = parameters_.backBufferWidth != 0
                                  ? parameters_.backBufferWidth
                                  : static_cast<std::uint32_t>(parameters_.deviceWindow->ClientWidth());
  const std::uint32_t height = parameters_.backBufferHeight != 0
                                   ? parameters_.backBufferHeight
                                   : static_cast<std::uint32_t>(parameters_.deviceWindow->ClientHeight());
  const HResult hr = CreateBackBuffer(width, height);
  if (hr != kOk) return hr;
  ResetStates();
  return kOk;
}

Device::~Device() {
  if (!context_) return;
  SDL_GL_MakeCurrent(parameters_.deviceWindow->Handle(), static_cast<SDL_GLContext>(context_));
  textures_ = {};
  boundTextures_ = {};
  slotTextures_ = {};
  boundSlotTextures_ = {};
  currentColor_.reset();
  currentDepth_.reset();
  backBuffer_.reset();
  backDepth_.reset();
  fixedProgram_.reset();
  shaderPrograms_.clear();
  fixedPrograms_.clear();
  GLuint buffers[2] = {vbo_, ibo_};
  glDeleteBuffers(2, buffers);
  GLuint vao = vao_;
  glDeleteVertexArrays(1, &vao);
  GLuint samplers[4];
  for (int i = 0; i < 4; ++i) samplers[i] = samplers_[static_cast<std::size_t>(i)];
  glDeleteSamplers(4, samplers);
  GLuint fbos[2] = {targetFbo_, presentFbo_};
  glDeleteFramebuffers(2, fbos);
  if (token_) token_->alive = false;
  SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
}

HResult Device::CreateBackBuffer(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0) return kErrInvalidCall;
  SurfacePtr color;
  HResult hr = CreateRenderTarget(width, height, kFmtA8R8G8B8, 0, true, color);
  if (hr != kOk) return hr;
  SurfacePtr depth;
  if (parameters_.enableAutoDepthStencil) {
    hr = CreateDepthStencilSurface(width, height, parameters_.autoDepthStencilFormat, 0, depth);
    if (hr != kOk) return hr;
  }
  backBuffer_ = color;
  backDepth_ = depth;
  currentColor_ = backBuffer_;
  currentDepth_ = backDepth_;
  BindTarget();
  return kOk;
}

void Device::ResetStates() {
  renderStates_.fill(0);
  auto& rs = renderStates_;
  rs[kRsZEnable] = parameters_.enableAutoDepthStencil ? 1 : 0;
  rs[kRsFillMode] = kFillSolid;
  rs[kRsShadeMode] = kShadeGouraud;
  rs[kRsZWriteEnable] = 1;
  rs[kRsSrcBlend] = kBlendOne;
  rs[kRsDestBlend] = kBlendZero;
  rs[kRsCullMode] = kCullCcw;
  rs[kRsZFunc] = kCmpLessEqual;
  rs[kRsAlphaFunc] = kCmpAlways;
  rs[kRsDitherEnable] = 0;
  rs[kRsFogEnd] = FloatBits(1.0f);
  rs[kRsFogDensity] = FloatBits(1.0f);
  rs[kRsStencilFail] = rs[kRsStencilZFail] = rs[kRsStencilPass] = kStencilKeep;
  rs[kRsStencilFunc] = kCmpAlways;
  rs[kRsStencilMask] = rs[kRsStencilWriteMask] = 0xFFFFFFFF;
  rs[kRsTextureFactor] = 0xFFFFFFFF;
  rs[kRsLighting] = 1;
  rs[kRsColorVertex] = 1;
  rs[kRsColorWriteEnable] = 0xF;
  rs[kRsBlendOp] = kBlendOpAdd;
  for (std::uint32_t s = 0; s < kRenderStateCount; ++s) ApplyRenderState(s);

  for (std::size_t stage = 0; stage < kStageCount; ++stage) {
    auto& ts = stageStates_[stage];
    ts.fill(0);
    ts[kTssColorOp] = stage == 0 ? kTopModulate : kTopDisable;
    ts[kTssColorArg1] = kTaTexture;
    ts[kTssColorArg2] = kTaCurrent;
    ts[kTssAlphaOp] = stage == 0 ? kTopSelectArg1 : kTopDisable;
    ts[kTssAlphaArg1] = kTaTexture;
    ts[kTssAlphaArg2] = kTaCurrent;
    ts[kTssTexCoordIndex] = static_cast<std::uint32_t>(stage);
    ts[kTssAddressU] = ts[kTssAddressV] = kTaddressWrap;
    ts[kTssMagFilter] = ts[kTssMinFilter] = kTexfPoint;
    ts[kTssMipFilter] = kTexfNone;
  }
  for (std::uint32_t stage = 0; stage < 4; ++stage) ApplySampler(stage);
  textures_ = {};
  world_ = view_ = projection_ = Matrix{};
  material_ = Material{};
  lights_ = {};
  lightEnabled_ = {};
  vertexShader_ = 0;
  pixelShader_ = 0;
  viewport_ = Viewport{0, 0, currentColor_ ? currentColor_->Width() : 0,
                       currentColor_ ? currentColor_->Height() : 0, 0, 1};
  SetViewport(viewport_);
  TouchAll();
}

static_assert(kUniformGroupCount == 10, "groupVersions_ holds one version per group");

void Device::TouchAll() {
  for (int g = 0; g < kUniformGroupCount; ++g) Touch(g);
}

void Device::ApplyRenderState(std::uint32_t state) {
  const auto& rs = renderStates_;
  switch (state) {
    case kRsZEnable:
      if (rs[kRsZEnable]) {
        glEnable(GL_DEPTH_TEST);
      } else {
        glDisable(GL_DEPTH_TEST);
      }
      break;
    case kRsZWriteEnable:
      glDepthMask(rs[kRsZWriteEnable] ? GL_TRUE : GL_FALSE);
      break;
    case kRsZFunc:
      glDepthFunc(GlCompare(rs[kRsZFunc]));
      break;
    case kRsAlphaBlendEnable:
      if (rs[kRsAlphaBlendEnable]) {
        glEnable(GL_BLEND);
      } else {
        glDisable(GL_BLEND);
      }
      break;
    case kRsSrcBlend:
    case kRsDestBlend: {
      GLenum src = GlBlend(rs[kRsSrcBlend]), dst = GlBlend(rs[kRsDestBlend]);
      if (rs[kRsSrcBlend] == 12) dst = GL_ONE_MINUS_SRC_ALPHA;
      if (rs[kRsSrcBlend] == 13) dst = GL_SRC_ALPHA;
      glBlendFunc(src, dst);
      break;
    }
    case kRsBlendOp: {
      const std::uint32_t op = rs[kRsBlendOp];
      glBlendEquation(op == kBlendOpSubtract      ? GL_FUNC_SUBTRACT
                      : op == kBlendOpRevSubtract ? GL_FUNC_REVERSE_SUBTRACT
                      : op == kBlendOpMin         ? GL_MIN
                      : op == kBlendOpMax         ? GL_MAX
                                                  : GL_FUNC_ADD);
      break;
    }
    case kRsCullMode:
      // Clockwise on screen is the front; the mode names the winding to drop.
      if (rs[kRsCullMode] == kCullNone) {
        glDisable(GL_CULL_FACE);
      } else {
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(rs[kRsCullMode] == kCullCw ? GL_FRONT : GL_BACK);
      }
      break;
    case kRsFillMode:
      glPolygonMode(GL_FRONT_AND_BACK, rs[kRsFillMode] == kFillPoint       ? GL_POINT
                                       : rs[kRsFillMode] == kFillWireframe ? GL_LINE
                                                                           : GL_FILL);
      break;
    case kRsStencilEnable:
      if (rs[kRsStencilEnable]) {
        glEnable(GL_STENCIL_TEST);
      } else {
        glDisable(GL_STENCIL_TEST);
      }
      break;
    case kRsStencilFunc:
    case kRsStencilRef:
    case kRsStencilMask:
      glStencilFunc(GlCompare(rs[kRsStencilFunc]), static_cast<GLint>(rs[kRsStencilRef]), rs[kRsStencilMask]);
      break;
    case kRsStencilFail:
    case kRsStencilZFail:
    case kRsStencilPass:
      glStencilOp(GlStencilOp(rs[kRsStencilFail]), GlStencilOp(rs[kRsStencilZFail]),
                  GlStencilOp(rs[kRsStencilPass]));
      break;
    case kRsStencilWriteMask:
      glStencilMask(rs[kRsStencilWriteMask]);
      break;
    case kRsColorWriteEnable: {
      const std::uint32_t m = rs[kRsColorWriteEnable];
      glColorMask((m & 1) != 0, (m & 2) != 0, (m & 4) != 0, (m & 8) != 0);
      break;
    }
    default:
      break;  // the rest feeds the program's uniforms
  }
}

void Device::ApplySampler(std::uint32_t stage) {
  // Stages beyond the fixed pipeline's two sample like stage 0 (pixel shaders).
  const auto& ts = stageStates_[stage < kStageCount ? stage : 0];
  const GLuint sampler = samplers_[stage];
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(GlAddress(ts[kTssAddressU])));
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(GlAddress(ts[kTssAddressV])));
  const bool linearMag = ts[kTssMagFilter] >= kTexfLinear;
  const bool linearMin = ts[kTssMinFilter] >= kTexfLinear;
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, linearMag ? GL_LINEAR : GL_NEAREST);
  GLint min = linearMin ? GL_LINEAR : GL_NEAREST;
  if (ts[kTssMipFilter] == kTexfPoint) min = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  if (ts[kTssMipFilter] >= kTexfLinear) min = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, min);
}

std::uint32_t Device::TargetHeight() const { return currentColor_ ? currentColor_->Height() : 0; }

void Device::BindTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, targetFbo_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                         currentColor_ ? currentColor_->GlTexture() : 0, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
  if (currentDepth_) {
    glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                              DepthHasStencil(currentDepth_->Format()) ? GL_DEPTH_STENCIL_ATTACHMENT
                                                                       : GL_DEPTH_ATTACHMENT,
                              GL_RENDERBUFFER, currentDepth_->GlRenderbuffer());
  }
}

HResult Device::TestCooperativeLevel() const { return lost_ ? kErrDeviceNotReset : kOk; }

HResult Device::Reset(PresentParameters& parameters) {
  PresentParameters wanted = parameters;
  if (!wanted.deviceWindow) wanted.deviceWindow = parameters_.deviceWindow;
  const bool depthOk = !wanted.enableAutoDepthStencil || GlDepthFormat(wanted.autoDepthStencilFormat) != 0;
  const bool modeOk = wanted.windowed || (IsDisplayFormat(wanted.backBufferFormat) &&
                                          wanted.backBufferWidth != 0 && wanted.backBufferHeight != 0);
  if (!depthOk || !modeOk || wanted.deviceWindow != parameters_.deviceWindow) {
    lost_ = true;
    return kErrInvalidCall;
  }
  SDL_Window* window = parameters_.deviceWindow->Handle();
  if (wanted.windowed) {
    SDL_SetWindowFullscreen(window, 0);
  } else {
    SDL_DisplayMode mode{};
    SDL_GetWindowDisplayMode(window, &mode);
    mode.w = static_cast<int>(wanted.backBufferWidth);
    mode.h = static_cast<int>(wanted.backBufferHeight);
    mode.refresh_rate = static_cast<int>(wanted.fullScreenRefreshRateInHz);
    SDL_SetWindowDisplayMode(window, &mode);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
  }
  parameters_ = wanted;
  const std::uint32_t width = wanted.backBufferWidth != 0
                                  ? wanted.backBufferWidth
                                  : static_cast<std::uint32_t>(wanted.deviceWindow->ClientWidth());
  const std::uint32_t height = wanted.backBufferHeight != 0
                                   ? wanted.backBufferHeight
                                   : static_cast<std::uint32_t>(wanted.deviceWindow->ClientHeight());
  const HResult hr = CreateBackBuffer(width, height);
  if (hr != kOk) {
    lost_ = true;
    return hr;
  }
  ResetStates();
  lost_ = false;
  return kOk;
}

HResult Device::Present() {
  if (!backBuffer_) return kErrInvalidCall;
  SDL_Window* window = parameters_.deviceWindow->Handle();
  int drawableW = 0, drawableH = 0;
  SDL_GL_GetDrawableSize(window, &drawableW, &drawableH);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, presentFbo_);
  glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, backBuffer_->GlTexture(), 0);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glBlitFramebuffer(0, 0, static_cast<GLint>(backBuffer_->Width()), static_cast<GLint>(backBuffer_->Height()), 0,
                    0, drawableW, drawableH, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  // Detached again, so that a back buffer released by a reset is not held.
  glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  SDL_GL_SwapWindow(window);
  BindTarget();
  ApplyRenderState(kRsColorWriteEnable);
  return kOk;
}

HResult Device::Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) {
  GLbitfield mask = 0;
  if (flags & kClearTarget) {
    float c[4];
    ColorToFloats(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (flags & kClearZBuffer) {
    if (!currentDepth_) return kErrInvalidCall;
    glClearDepth(z);
    glDepthMask(GL_TRUE);
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (flags & kClearStencil) {
    if (!currentDepth_ || !DepthHasStencil(currentDepth_->Format())) return kErrInvalidCall;
    glClearStencil(static_cast<GLint>(stencil));
    glStencilMask(0xFFFFFFFF);
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  // Clears cover the viewport only.
  const GLint top = static_cast<GLint>(TargetHeight()) - static_cast<GLint>(viewport_.y + viewport_.height);
  glEnable(GL_SCISSOR_TEST);
  glScissor(static_cast<GLint>(viewport_.x), top, static_cast<GLsizei>(viewport_.width),
            static_cast<GLsizei>(viewport_.height));
  glClear(mask);
  glDisable(GL_SCISSOR_TEST);
  ApplyRenderState(kRsColorWriteEnable);
  ApplyRenderState(kRsZWriteEnable);
  ApplyRenderState(kRsStencilWriteMask);
  return kOk;
}

HResult Device::SetViewport(const Viewport& viewport) {
  const std::uint32_t width = currentColor_ ? currentColor_->Width() : 0;
  const std::uint32_t height = TargetHeight();
  if (viewport.width == 0 || viewport.height == 0 || viewport.x + viewport.width > width ||
      viewport.y + viewport.height > height || viewport.minZ < 0 || viewport.maxZ > 1) {
    return kErrInvalidCall;
  }
  // The target's height places the rectangle, so GL is told every time; the
  // uniforms only when the viewport differs.
  const bool same = viewport.x == viewport_.x && viewport.y == viewport_.y && viewport.width == viewport_.width &&
                    viewport.height == viewport_.height && viewport.minZ == viewport_.minZ &&
                    viewport.maxZ == viewport_.maxZ;
  viewport_ = viewport;
  glViewport(static_cast<GLint>(viewport.x), static_cast<GLint>(height - viewport.y - viewport.height),
             static_cast<GLsizei>(viewport.width), static_cast<GLsizei>(viewport.height));
  if (same) return kOk;
  Touch(kGroupViewport);
  return kOk;
}

HResult Device::GetViewport(Viewport& viewport) const {
  viewport = viewport_;
  return kOk;
}

HResult Device::SetTransform(std::uint32_t state, const Matrix& matrix) {
  if (state == kTransformWorld) {
    world_ = matrix;
  } else if (state == kTransformView) {
    view_ = matrix;
  } else if (state == kTransformProjection) {
    projection_ = matrix;
  } else {
    return kOk;  // texture and further world matrices are not used
  }
  Touch(kGroupTransform);
  return kOk;
}

HResult Device::GetTransform(std::uint32_t state, Matrix& matrix) const {
  if (state == kTransformWorld) {
    matrix = world_;
  } else if (state == kTransformView) {
    matrix = view_;
  } else if (state == kTransformProjection) {
    matrix = projection_;
  } else {
    matrix = Matrix{};
  }
  return kOk;
}

HResult Device::SetRenderState(std::uint32_t state, std::uint32_t value) {
  if (state >= kRenderStateCount) return kErrInvalidCall;
  if (renderStates_[state] == value) return kOk;
  renderStates_[state] = value;
  ApplyRenderState(state);
  switch (state) {
    case kRsLighting:
    case kRsColorVertex:
    case kRsAmbient:
      Touch(kGroupLighting);
      break;
    case kRsFogEnable:
    case kRsFogColor:
    case kRsFogTableMode:
    case kRsFogVertexMode:
    case kRsFogStart:
    case kRsFogEnd:
    case kRsFogDensity:
      Touch(kGroupFog);
      break;
    case kRsTextureFactor:
      Touch(kGroupTFactor);
      break;
    case kRsSpecularEnable:
    case kRsAlphaTestEnable:
    case kRsAlphaFunc:
    case kRsAlphaRef:
      Touch(kGroupAlpha);
      break;
    default:
      break;  // GL state only, or the choice of program
  }
  return kOk;
}

HResult Device::GetRenderState(std::uint32_t state, std::uint32_t& value) const {
  if (state >= kRenderStateCount) return kErrInvalidCall;
  value = renderStates_[state];
  return kOk;
}

HResult Device::SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) {
  if (stage >= 8 || type >= kTssStateCount) return kErrInvalidCall;
  if (stage >= kStageCount) return kOk;  // stages the pipeline does not use
  if (stageStates_[stage][type] == value) return kOk;
  stageStates_[stage][type] = value;
  if (type >= kTssAddressU) {
    ApplySampler(stage);
  } else {
    Touch(kGroupStages);
  }
  return kOk;
}

HResult Device::GetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t& value) const {
  if (stage >= kStageCount || type >= kTssStateCount) return kErrInvalidCall;
  value = stageStates_[stage][type];
  return kOk;
}

HResult Device::SetTexture(std::uint32_t stage, TexturePtr texture) {
  if (stage >= 8) return kErrInvalidCall;
  if (stage >= textures_.size()) return kOk;
  if (textures_[stage] == texture) return kOk;
  // Whether a stage has a texture feeds the stage uniforms; the unit is bound at the next draw.
  if ((textures_[stage] == nullptr) != (texture == nullptr)) Touch(kGroupStages);
  textures_[stage] = std::move(texture);
  return kOk;
}

HResult Device::SetSlotTexture(std::uint32_t slot, TexturePtr texture) {
  if (slot == 0 || slot >= kTextureSlotCount) return kErrInvalidCall;
  slotTextures_[slot] = std::move(texture);
  return kOk;
}

HResult Device::SetMaterial(const Material& material) {
  material_ = material;
  Touch(kGroupLighting);
  return kOk;
}

HResult Device::SetLight(std::uint32_t index, const Light& light) {
  if (index >= lights_.size()) return kErrInvalidCall;
  lights_[index] = light;
  Touch(kGroupLighting);
  return kOk;
}

HResult Device::LightEnable(std::uint32_t index, bool enable) {
  if (index >= lights_.size()) return kErrInvalidCall;
  lightEnabled_[index] = enable;
  Touch(kGroupLighting);
  return kOk;
}

HResult Device::SetVertexShader(std::uint32_t handle) {
  if (IsShaderHandle(handle) && vertexShaders_.find(handle) == vertexShaders_.end()) return kErrInvalidCall;
  if (!IsShaderHandle(handle) && (handle & kFvfPositionMask) == 0) return kErrInvalidCall;
  if (vertexShader_ != handle) {
    vertexShader_ = handle;
    Touch(kGroupFormat);
  }
  return kOk;
}

HResult Device::CreateVertexShader(const std::uint32_t* declaration, const std::uint8_t* program,
                                   std::size_t size, std::uint32_t& handle, std::uint32_t /*usage*/) {
  if (!declaration || !program) return kErrInvalidCall;
  VertexShader shader;
  for (int i = 0; i < 64; ++i) {
    shader.declaration.push_back(declaration[i]);
    if (declaration[i] == 0xFFFFFFFF) break;
  }
  if (shader.declaration.back() != 0xFFFFFFFF) return kErrInvalidCall;
  if (!ProgramText(program, size, ShaderStage::kVertex, shader.glsl)) return kErrInvalidCall;
  handle = nextVertexShader_;
  nextVertexShader_ += 2;
  vertexShaders_[handle] = std::move(shader);
  return kOk;
}

HResult Device::DeleteVertexShader(std::uint32_t handle) {
  if (vertexShaders_.erase(handle) == 0) return kErrInvalidCall;
  for (auto it = shaderPrograms_.begin(); it != shaderPrograms_.end();) {
    it = it->first[0] == handle ? shaderPrograms_.erase(it) : std::next(it);
  }
  for (auto it = fixedPrograms_.begin(); it != fixedPrograms_.end();) {
    it = it->first[0] == static_cast<int>(handle) ? fixedPrograms_.erase(it) : std::next(it);
  }
  if (vertexShader_ == handle) vertexShader_ = 0;
  boundProgram_ = nullptr;
  return kOk;
}

HResult Device::SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) {
  if (!data || reg > 96 || count > 96 - reg) return kErrInvalidCall;
  std::memcpy(&vsConstants_[reg * 4], data, sizeof(float) * 4 * count);
  Touch(kGroupVsConstants);
  return kOk;
}

HResult Device::CreatePixelShader(const std::uint32_t* program, std::size_t count, std::uint32_t& handle) {
  if (!program) return kErrInvalidCall;
  PixelShader shader;
  if (!ProgramText(reinterpret_cast<const std::uint8_t*>(program), count * 4, ShaderStage::kPixel,
                   shader.glsl)) {
    return kErrInvalidCall;
  }
  handle = nextPixelShader_++;
  pixelShaders_[handle] = std::move(shader);
  return kOk;
}

HResult Device::DeletePixelShader(std::uint32_t handle) {
  if (pixelShaders_.erase(handle) == 0) return kErrInvalidCall;
  for (auto it = shaderPrograms_.begin(); it != shaderPrograms_.end();) {
    it = it->first[1] == handle ? shaderPrograms_.erase(it) : std::next(it);
  }
  if (pixelShader_ == handle) pixelShader_ = 0;
  boundProgram_ = nullptr;
  return kOk;
}

HResult Device::SetPixelShader(std::uint32_t handle) {
  if (handle != 0 && pixelShaders_.find(handle) == pixelShaders_.end()) return kErrInvalidCall;
  if (pixelShader_ != handle) {
    pixelShader_ = handle;  // another program, with uniforms of its own
  }
  return kOk;
}

HResult Device::SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) {
  if (!data || reg > 8 || count > 8 - reg) return kErrInvalidCall;
  std::memcpy(&psConstants_[reg * 4], data, sizeof(float) * 4 * count);
  Touch(kGroupPsConstants);
  return kOk;
}

GlProgram* Device::ProgramForShaders() {
  const std::uint32_t vs = IsShaderHandle(vertexShader_) ? vertexShader_ : 0;
  const bool flat = renderStates_[kRsShadeMode] == kShadeFlat;
  if (pixelShader_ == 0) {
    FixedProgramKey values{};
    std::size_t n = 0;
    values[n++] = static_cast<int>(vs);
    for (std::size_t s = 0; s < kStageCount; ++s) values[n++] = textures_[s] != nullptr;
    for (std::uint32_t state : {kTssColorOp, kTssColorArg1, kTssColorArg2, kTssAlphaOp, kTssAlphaArg1,
                                kTssAlphaArg2}) {
      for (std::size_t s = 0; s < kStageCount; ++s) values[n++] = static_cast<int>(stageStates_[s][state]);
    }
    const auto& rs = renderStates_;
    values[n++] = rs[kRsSpecularEnable] != 0;
    values[n++] = rs[kRsAlphaTestEnable] ? static_cast<int>(rs[kRsAlphaFunc]) : static_cast<int>(kCmpAlways);
    values[n++] = rs[kRsFogEnable] != 0;
    const bool slots = !vs && (vertexShader_ & kFvfQuadExtras) != 0 && textures_[0] != nullptr;
    values[n++] = slots;
    values[n++] = flat;
    auto found = fixedPrograms_.find(values);
    if (found != fixedPrograms_.end()) return found->second.get();
    const std::vector<int> constants(values.begin() + 1, values.end() - 2);
    auto program = std::make_unique<GlProgram>(vs ? vertexShaders_[vs].glsl : FixedVertexSource(),
                                               SpecializedFragmentSource(constants, slots), flat);
    if (!program->Ok()) {
      SDL_Log("fixed-function program: %s", program->Log().c_str());
      return nullptr;
    }
    GlProgram* raw = program.get();
    fixedPrograms_[values] = std::move(program);
    return raw;
  }
  const ShaderProgramKey key{vs, pixelShader_, flat ? 1u : 0u};
  auto it = shaderPrograms_.find(key);
  if (it != shaderPrograms_.end()) return it->second.get();
  const std::string& vsText = vs ? vertexShaders_[vs].glsl : FixedVertexSource();
  const std::string& psText = pixelShaders_[pixelShader_].glsl;
  auto program = std::make_unique<GlProgram>(vsText, psText, flat);
  if (!program->Ok()) {
    SDL_Log("shader program: %s", program->Log().c_str());
    return nullptr;
  }
  GlProgram* raw = program.get();
  shaderPrograms_[key] = std::move(program);
  return raw;
}

// Uploads the groups of uniforms whose states changed since this program last
// uploaded them; a uniform the program lacks has location -1 and is skipped.
void Device::UploadUniforms(GlProgram& p) {
  const auto& rs = renderStates_;
  const auto stale = [&](int group) {
    const std::size_t g = static_cast<std::size_t>(group);
    if (p.uploaded[g] == groupVersions_[g]) return false;
    p.uploaded[g] = groupVersions_[g];
    return true;
  };
  const auto at = [&](Uniform u) { return p.Location(u); };
  float c[4];
  if (!p.samplersSet) {
    for (int i = 0; i < 4; ++i) {
      const int location = at(static_cast<Uniform>(static_cast<int>(Uniform::kTex0) + i));
      if (location >= 0) glUniform1i(location, i);
    }
    for (std::uint32_t slot = 1; slot < kTextureSlotCount; ++slot) {
      const int location = at(static_cast<Uniform>(static_cast<int>(Uniform::kSlot1) + static_cast<int>(slot) - 1));
      if (location >= 0) glUniform1i(location, static_cast<GLint>(SlotUnit(slot)));
    }
    p.samplersSet = true;
  }
  if (stale(kGroupViewport)) {
    const float vp[4] = {static_cast<float>(viewport_.x), static_cast<float>(viewport_.y),
                         static_cast<float>(viewport_.width), static_cast<float>(viewport_.height)};
    glUniform4fv(at(Uniform::kViewport), 1, vp);
    glUniform2f(at(Uniform::kDepthRange), viewport_.minZ, viewport_.maxZ);
  }
  if (stale(kGroupTransform)) {
    const glm::mat4 world = ToGlm(world_), view = ToGlm(view_), projection = ToGlm(projection_);
    const glm::mat4 worldView = view * world;
    const glm::mat4 worldViewProj = projection * worldView;
    glUniformMatrix4fv(at(Uniform::kWorldViewProj), 1, GL_FALSE, glm::value_ptr(worldViewProj));
    glUniformMatrix4fv(at(Uniform::kWorld), 1, GL_FALSE, glm::value_ptr(world));
    glUniformMatrix4fv(at(Uniform::kWorldView), 1, GL_FALSE, glm::value_ptr(worldView));
    // Vertex shaders find the eye distance for fog by undoing the projection;
    // a projection without an inverse leaves their positions as they are.
    if (at(Uniform::kInvProjection) >= 0) {
      const glm::mat4 invProjection =
          glm::determinant(projection) != 0.0f ? glm::inverse(projection) : glm::mat4(1.0f);
      glUniformMatrix4fv(at(Uniform::kInvProjection), 1, GL_FALSE, glm::value_ptr(invProjection));
    }
  }
  if (stale(kGroupFormat)) {
    const std::uint32_t fvf = IsShaderHandle(vertexShader_) ? 0 : vertexShader_;
    glUniform1i(at(Uniform::kPretransformed), (fvf & kFvfPositionMask) == kFvfXyzRhw);
    glUniform1i(at(Uniform::kHasNormal), (fvf & kFvfNormal) != 0);
    glUniform1i(at(Uniform::kHasDiffuse), (fvf & kFvfDiffuse) != 0);
    glUniform1i(at(Uniform::kHasSpecular), (fvf & kFvfSpecular) != 0);
    glUniform1i(at(Uniform::kHasQuadExtras), (fvf & kFvfQuadExtras) != 0);
  }
  if (stale(kGroupLighting)) {
    glUniform1i(at(Uniform::kLighting), rs[kRsLighting] != 0);
    glUniform1i(at(Uniform::kColorVertex), rs[kRsColorVertex] != 0);
    ColorToFloats(rs[kRsAmbient], c);
    glUniform4fv(at(Uniform::kAmbient), 1, c);
    glUniform4fv(at(Uniform::kMatDiffuse), 1, &material_.diffuse.r);
    glUniform4fv(at(Uniform::kMatAmbient), 1, &material_.ambient.r);
    glUniform4fv(at(Uniform::kMatEmissive), 1, &material_.emissive.r);
    float pos[32] = {}, dir[32] = {}, dif[32] = {}, amb[32] = {}, att[32] = {};
    int count = 0;
    for (std::size_t i = 0; i < lights_.size(); ++i) {
      if (!lightEnabled_[i]) continue;
      const Light& l = lights_[i];
      float* slot = &pos[count * 4];
      slot[0] = l.position.x, slot[1] = l.position.y, slot[2] = l.position.z;
      slot[3] = static_cast<float>(l.type);
      dir[count * 4] = l.direction.x, dir[count * 4 + 1] = l.direction.y, dir[count * 4 + 2] = l.direction.z;
      std::memcpy(&dif[count * 4], &l.diffuse.r, sizeof(float) * 4);
      std::memcpy(&amb[count * 4], &l.ambient.r, sizeof(float) * 4);
      att[count * 4] = l.attenuation0, att[count * 4 + 1] = l.attenuation1, att[count * 4 + 2] = l.attenuation2;
      att[count * 4 + 3] = l.range;
      ++count;
    }
    glUniform1i(at(Uniform::kLightCount), count);
    glUniform4fv(at(Uniform::kLightPos), 8, pos);
    glUniform4fv(at(Uniform::kLightDir), 8, dir);
    glUniform4fv(at(Uniform::kLightDiffuse), 8, dif);
    glUniform4fv(at(Uniform::kLightAmbient), 8, amb);
    glUniform4fv(at(Uniform::kLightAtten), 8, att);
  }
  if (stale(kGroupFog)) {
    const std::uint32_t fogMode = rs[kRsFogTableMode] != kFogNone ? rs[kRsFogTableMode] : rs[kRsFogVertexMode];
    glUniform1i(at(Uniform::kFogMode), static_cast<GLint>(fogMode));
    glUniform1i(at(Uniform::kFogTable), rs[kRsFogTableMode] != kFogNone);
    glUniform3f(at(Uniform::kFogParams), AsFloat(rs[kRsFogStart]), AsFloat(rs[kRsFogEnd]),
                AsFloat(rs[kRsFogDensity]));
    glUniform1i(at(Uniform::kFogEnable), rs[kRsFogEnable] != 0);
    ColorToFloats(rs[kRsFogColor], c);
    glUniform3f(at(Uniform::kFogColor), c[0], c[1], c[2]);
  }
  if (stale(kGroupStages) && at(Uniform::kColorOp) >= 0) {
    GLint hasTex[2], colorOp[2], colorArg1[2], colorArg2[2], alphaOp[2], alphaArg1[2], alphaArg2[2];
    for (std::size_t s = 0; s < kStageCount; ++s) {
      const auto& ts = stageStates_[s];
      hasTex[s] = textures_[s] != nullptr;
      colorOp[s] = static_cast<GLint>(ts[kTssColorOp]);
      colorArg1[s] = static_cast<GLint>(ts[kTssColorArg1]);
      colorArg2[s] = static_cast<GLint>(ts[kTssColorArg2]);
      alphaOp[s] = static_cast<GLint>(ts[kTssAlphaOp]);
      alphaArg1[s] = static_cast<GLint>(ts[kTssAlphaArg1]);
      alphaArg2[s] = static_cast<GLint>(ts[kTssAlphaArg2]);
    }
    glUniform1iv(at(Uniform::kHasTex), 2, hasTex);
    glUniform1iv(at(Uniform::kColorOp), 2, colorOp);
    glUniform1iv(at(Uniform::kColorArg1), 2, colorArg1);
    glUniform1iv(at(Uniform::kColorArg2), 2, colorArg2);
    glUniform1iv(at(Uniform::kAlphaOp), 2, alphaOp);
    glUniform1iv(at(Uniform::kAlphaArg1), 2, alphaArg1);
    glUniform1iv(at(Uniform::kAlphaArg2), 2, alphaArg2);
  }
  if (stale(kGroupTFactor)) {
    ColorToFloats(rs[kRsTextureFactor], c);
    glUniform4fv(at(Uniform::kTFactor), 1, c);
  }
  if (stale(kGroupAlpha)) {
    glUniform1i(at(Uniform::kSpecularEnable), rs[kRsSpecularEnable] != 0);
    glUniform1i(at(Uniform::kAlphaFunc),
                rs[kRsAlphaTestEnable] ? static_cast<GLint>(rs[kRsAlphaFunc]) : static_cast<GLint>(kCmpAlways));
    glUniform1f(at(Uniform::kAlphaRef), static_cast<float>(rs[kRsAlphaRef] & 0xFF));
  }
  if (stale(kGroupVsConstants) && at(Uniform::kVsConstants) >= 0) {
    glUniform4fv(at(Uniform::kVsConstants), 96, vsConstants_.data());
  }
  if (stale(kGroupPsConstants) && at(Uniform::kPsConstants) >= 0) {
    glUniform4fv(at(Uniform::kPsConstants), 8, psConstants_.data());
  }
}

// Binds the stages' textures to their units where the unit holds another.
void Device::BindTextures() {
  for (std::uint32_t unit = 0; unit < 4; ++unit) {
    if (boundTextures_[unit] == textures_[unit]) continue;
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, textures_[unit] ? textures_[unit]->GlName() : 0);
    boundTextures_[unit] = textures_[unit];
  }
  if ((vertexShader_ & kFvfQuadExtras) == 0) return;
  for (std::uint32_t slot = 1; slot < kTextureSlotCount; ++slot) {
    if (boundSlotTextures_[slot] == slotTextures_[slot]) continue;
    glActiveTexture(GL_TEXTURE0 + SlotUnit(slot));
    glBindTexture(GL_TEXTURE_2D, slotTextures_[slot] ? slotTextures_[slot]->GlName() : 0);
    boundSlotTextures_[slot] = slotTextures_[slot];
  }
}

HResult Device::PrepareDraw(const void* vertices, std::size_t vertexBytes, std::uint32_t stride) {
  GlProgram* program = ProgramForShaders();
  if (!program) return kErrInvalidCall;
  if (program != boundProgram_) {
    glUseProgram(program->Name());
    boundProgram_ = program;
  }
  UploadUniforms(*program);
  BindTextures();

  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexBytes), vertices, GL_STREAM_DRAW);
  if (layoutKey_ != vertexShader_ || layoutStride_ != stride) {
    for (GLuint i = 0; i < 16; ++i) glDisableVertexAttribArray(i);
    if (IsShaderHandle(vertexShader_)) {
      // Declaration tokens: stream 0, then one register token per input.
      std::size_t offset = 0;
      for (std::uint32_t token : vertexShaders_[vertexShader_].declaration) {
        if ((token >> 29) != 2) continue;
        const GLuint reg = token & 0x1F;
        const std::uint32_t type = (token >> 16) & 0xF;
        if (type <= 3) {
          glVertexAttribPointer(reg, static_cast<GLint>(type + 1), GL_FLOAT, GL_FALSE,
                                static_cast<GLsizei>(stride), reinterpret_cast<const void*>(offset));
          offset += 4 * (type + 1);
        } else {
          glVertexAttribPointer(reg, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, static_cast<GLsizei>(stride),
                                reinterpret_cast<const void*>(offset));
          offset += 4;
        }
        glEnableVertexAttribArray(reg);
      }
    } else {
      const std::uint32_t fvf = vertexShader_;
      std::size_t offset = 0;
      const bool rhw = (fvf & kFvfPositionMask) == kFvfXyzRhw;
      glVertexAttribPointer(0, rhw ? 4 : 3, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride), nullptr);
      glEnableVertexAttribArray(0);
      offset += rhw ? 16 : 12;
      if (fvf & kFvfNormal) {
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(1);
        offset += 12;
      }
      if (fvf & 0x020) offset += 4;  // point size
      if (fvf & kFvfDiffuse) {
        glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(2);
        offset += 4;
      }
      if (fvf & kFvfSpecular) {
        glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(3);
        offset += 4;
      }
      if ((fvf & kFvfTexCountMask) != 0) {
        glVertexAttribPointer(4, 2, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(4);
        offset += 8;
      }
      if (fvf & kFvfQuadExtras) {
        glVertexAttribPointer(5, 1, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(5);
        glVertexAttribPointer(6, 1, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset + 4));
        glEnableVertexAttribArray(6);
      }
    }
    layoutKey_ = vertexShader_;
    layoutStride_ = stride;
  }
  return kOk;
}

HResult Device::DrawPrimitiveUP(std::uint32_t type, std::uint32_t primitiveCount, const void* vertices,
                                std::uint32_t stride) {
  GLenum mode = 0;
  const std::uint32_t count = VerticesFor(type, primitiveCount, mode);
  if (!vertices || count == 0 || stride == 0 || vertexShader_ == 0) return kErrInvalidCall;
  const HResult hr = PrepareDraw(vertices, static_cast<std::size_t>(count) * stride, stride);
  if (hr != kOk) return hr;
  glDrawArrays(mode, 0, static_cast<GLsizei>(count));
  ++drawCalls_;
  return kOk;
}

HResult Device::DrawIndexedPrimitiveUP(std::uint32_t type, std::uint32_t minIndex, std::uint32_t vertexCount,
                                       std::uint32_t primitiveCount, const void* indices,
                                       std::uint32_t indexFormat, const void* vertices, std::uint32_t stride) {
  GLenum mode = 0;
  const std::uint32_t count = VerticesFor(type, primitiveCount, mode);
  if (!vertices || !indices || count == 0 || stride == 0 || vertexCount == 0 || vertexShader_ == 0 ||
      (indexFormat != kIndex16 && indexFormat != kIndex32)) {
    return kErrInvalidCall;
  }
  // Every index must name a vertex that was handed over.
  const std::uint64_t end = static_cast<std::uint64_t>(minIndex) + vertexCount;
  const std::size_t indexBytes = indexFormat == kIndex16 ? 2 : 4;
  if (indexFormat == kIndex16) {
    const auto* p = static_cast<const std::uint16_t*>(indices);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (p[i] < minIndex || p[i] >= end) return kErrInvalidCall;
    }
  } else {
    const auto* p = static_cast<const std::uint32_t*>(indices);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (p[i] < minIndex || p[i] >= end) return kErrInvalidCall;
    }
  }
  const HResult hr = PrepareDraw(vertices, static_cast<std::size_t>(end) * stride, stride);
  if (hr != kOk) return hr;
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * indexBytes), indices, GL_STREAM_DRAW);
  glDrawElements(mode, static_cast<GLsizei>(count), indexFormat == kIndex16 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                 nullptr);
  ++drawCalls_;
  return kOk;
}

HResult Device::CreateTextureFromArgb(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                                      std::uint32_t levels, const std::uint32_t* argb, bool pointFilter,
                                      TexturePtr& out) {
  out.reset();
  if (width == 0 || height == 0 || width > kMaxTextureSide || height > kMaxTextureSide)
    return kErrInvalidCall;
  GLuint name = 0;
  glGenTextures(1, &name);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name);
  // ARGB words in little-endian memory are the bytes B, G, R, A.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_BGRA,
               GL_UNSIGNED_BYTE, argb);
  std::uint32_t levelCount = 1;
  if (levels != 1) {
    glGenerateMipmap(GL_TEXTURE_2D);
    std::uint32_t w = width, h = height;
    while (w > 1 || h > 1) {
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
      ++levelCount;
    }
    if (levels != 0 && levels < levelCount) levelCount = levels;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levelCount - 1));
  } else {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  }
  (void)pointFilter;  // filtering follows the sampler states of the stage
  glBindTexture(GL_TEXTURE_2D, textures_[0] ? textures_[0]->GlName() : 0);
  boundTextures_[0] = textures_[0];
  out = std::make_shared<Texture>(token_, name, width, height, format == 0 ? kFmtA8R8G8B8 : format, levelCount);
  return kOk;
}

HResult Device::CreateCompressedTexture(std::uint32_t width, std::uint32_t height, std::uint32_t glFormat,
                                        const std::vector<std::vector<std::uint8_t>>& levels, TexturePtr& out) {
  out.reset();
  if (width == 0 || height == 0 || levels.empty()) return kErrInvalidCall;
  GLuint name = 0;
  glGenTextures(1, &name);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name);
  std::uint32_t w = width, h = height;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    glCompressedTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), glFormat, static_cast<GLsizei>(w),
                           static_cast<GLsizei>(h), 0, static_cast<GLsizei>(levels[i].size()), levels[i].data());
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels.size() - 1));
  const bool failed = glGetError() != GL_NO_ERROR;
  glBindTexture(GL_TEXTURE_2D, textures_[0] ? textures_[0]->GlName() : 0);
  boundTextures_[0] = textures_[0];
  if (failed) {
    glDeleteTextures(1, &name);
    return kErrInvalidData;
  }
  out = std::make_shared<Texture>(token_, name, width, height, kFmtA8R8G8B8,
                                  static_cast<std::uint32_t>(levels.size()));
  return kOk;
}

HResult Device::CreateRenderTarget(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                                   std::uint32_t /*multiSample*/, bool lockable, SurfacePtr& out) {
  out.reset();
  if (width == 0 || height == 0 || width > kMaxTextureSide || height > kMaxTextureSide ||
      !IsColorTargetFormat(format)) {
    return kErrInvalidCall;
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, format == kFmtR8G8B8 ? GL_RGB8 : GL_RGBA8, static_cast<GLsizei>(width),
               static_cast<GLsizei>(height), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glBindTexture(GL_TEXTURE_2D, textures_[0] ? textures_[0]->GlName() : 0);
  boundTextures_[0] = textures_[0];
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &name);
    return kErrOutOfVideoMemory;
  }
  out = std::make_shared<Surface>(token_, Surface::Kind::kColor, name, 0, width, height, format, lockable);
  return kOk;
}

HResult Device::CreateDepthStencilSurface(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                                          std::uint32_t /*multiSample*/, SurfacePtr& out) {
  out.reset();
  const std::uint32_t glFormat = GlDepthFormat(format);
  if (width == 0 || height == 0 || width > kMaxTextureSide || height > kMaxTextureSide || glFormat == 0)
    return kErrInvalidCall;
  GLuint name = 0;
  glGenRenderbuffers(1, &name);
  glBindRenderbuffer(GL_RENDERBUFFER, name);
  glRenderbufferStorage(GL_RENDERBUFFER, glFormat, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
  if (glGetError() != GL_NO_ERROR) {
    glDeleteRenderbuffers(1, &name);
    return kErrOutOfVideoMemory;
  }
  out = std::make_shared<Surface>(token_, Surface::Kind::kDepthStencil, 0, name, width, height, format, false);
  return kOk;
}

HResult Device::SetRenderTarget(SurfacePtr color, SurfacePtr depthStencil) {
  if (!color) color = currentColor_;
  if (color->GetKind() != Surface::Kind::kColor) return kErrInvalidCall;
  if (depthStencil && (depthStencil->GetKind() != Surface::Kind::kDepthStencil ||
                       depthStencil->Width() < color->Width() || depthStencil->Height() < color->Height())) {
    return kErrInvalidCall;
  }
  currentColor_ = std::move(color);
  currentDepth_ = std::move(depthStencil);
  BindTarget();
  // A new target gets a viewport over all of it.
  return SetViewport(Viewport{0, 0, currentColor_->Width(), currentColor_->Height(), 0, 1});
}

HResult Device::GetRenderTarget(SurfacePtr& out) const {
  out = currentColor_;
  return kOk;
}

HResult Device::GetDepthStencilSurface(SurfacePtr& out) const {
  out = currentDepth_;
  return out ? kOk : kErrNotAvailable;
}

HResult Device::GetBackBuffer(SurfacePtr& out) const {
  out = backBuffer_;
  return kOk;
}

}  // namespace kiv::gfx
