#include "media/device_startup.h"

#include <SDL.h>
#include <fmt/format.h>

#include <cstring>
#include <vector>

#include "core/error.h"
#include "core/log.h"
#include "media/device_reset.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/loading_logo.h"

namespace kiv {

namespace {

constexpr const char* kCrLf = "\r\n";

std::uint32_t WindowId(gfx::Window* window) {
  return window && window->Handle() ? SDL_GetWindowID(window->Handle()) : 0;
}

void RaiseIfFailed(std::int32_t result, const char* what) {
  if (result != 0) RaiseError(result, std::string("Could not create the ") + what + ".");
}

void DeviceFailed(std::int32_t result, const std::string& advice) {
  LogWriteLine(fmt::format("D3DDeviceInit failed with error code {:X}.", static_cast<std::uint32_t>(result)));
  ShowGraphicsBox(
      "Direct3D 8 Device could not be initialized.  Please make sure you have enough video memory for the "
      "selected resolution.  " +
          advice,
      "Direct3D 8 Device Error", BoxIcon::kCritical);
}

// Assembles one text; false (after the log line and the box) on an error text.
bool Assemble(const std::string& text, const char* kind, const char* title, std::vector<std::uint8_t>& program) {
  std::string errors;
  gfx::AssembleShader(text, 0, program, errors);
  if (errors.empty()) return true;
  LogWriteLine(std::string("AssembleShader (") + kind + ") failed: " + errors);
  ShowGraphicsBox(std::string("Could not assemble ") + kind + " shader due to the following error:" + kCrLf + errors,
                  title, BoxIcon::kCritical);
  return false;
}

void CreateShaders(const std::vector<std::uint8_t>& vertexProgram, const std::vector<std::uint8_t>& pixelProgram) {
  LogWriteLine("Creating shaders.");
  bool failed = false;
  graphics.lightingVertexDeclaration = {VertexDeclStream(0), VertexDeclRegister(0, 2), VertexDeclRegister(3, 2),
                                        VertexDeclRegister(7, 1), kVertexDeclEnd};
  gfx::Device& device = *graphics.direct3dDevice;
  failed |= device.CreateVertexShader(graphics.lightingVertexDeclaration.data(), vertexProgram.data(),
                                      vertexProgram.size(), graphics.lightingVertexShader, 0) != gfx::kOk;
  LogWriteLine("Vertex shader created.");
  std::vector<std::uint32_t> words(pixelProgram.size() / 4);
  if (!words.empty()) std::memcpy(words.data(), pixelProgram.data(), words.size() * 4);
  failed |= device.CreatePixelShader(words.data(), words.size(), graphics.lightingPixelShader) != gfx::kOk;
  LogWriteLine("Pixel shader created.");
  graphics.shadersReady = !failed;
}

}  // namespace

std::uint32_t VertexDeclTokenType(std::uint32_t type) {
  if (type >= 1 && type <= 5) return type * 0x20000000u;
  if (type == 7) return 0xE0000000u;
  return 0;
}

std::uint32_t VertexDeclStream(std::uint32_t stream) { return VertexDeclTokenType(1) | stream; }

std::uint32_t VertexDeclRegister(std::uint32_t reg, std::uint32_t type) {
  return VertexDeclTokenType(2) | (type * 65536u) | reg;
}

std::string LightingVertexShaderText() {
  std::vector<std::string> lines = {
      "vs.1.0",
      "; basic                          ",
      "m4x4 r0, v0, c0                ; x/y/z*world to pos",
      "m4x4 oPos, r0, c4              ; pos*view*proj to screen",
      "mov oT0.xy, v7                 ; tu/tv to tex0",
      "m4x3 oT1.xyz, v3.xyz, c8       ; nx/ny/nz*world to tex1",
  };
  for (int i = 0; i < 4; ++i) {
    const std::string output = i < 2 ? fmt::format("T{}", i + 2) : fmt::format("D{}", i - 2);
    lines.push_back(fmt::format("; light {}", i));
    lines.push_back(fmt::format("add r1.xyz, c{}.xyz, -r0.xyz   ; |light - pos| to ps", 20 + i));
    lines.push_back("dp3 r1.w, r1.xyz, r1.xyz         ; normalize to r1.xyz");
    lines.push_back("rsq r1.w, r1.w                     ");
    lines.push_back("mul r2.xyz, r1.xyz, r1.w           ");
    lines.push_back("dp3 r1.w, r1.xyz, r1.xyz         ; attenuate to r1.w");
    lines.push_back(fmt::format("mul r1.w, r1.w, c{}.w              ", 20 + i));
    lines.push_back("add r2.w, c51, -r1.w               ");
    lines.push_back("max r2.w, c50, r2.w                ");
    lines.push_back("mul o" + output + ".xyz, r2.xyz, r2.w          ");
  }
  std::string text;
  for (const std::string& line : lines) text += line + kCrLf;
  return text;
}

std::string LightingPixelShaderText() {
  std::vector<std::string> lines = {
      "ps.1.4",
      "texcrd r1.xyz, t1  ; normal",
      "texcrd r2.xyz, t2  ; light",
      "texcrd r3.xyz, t3  ; light",
  };
  for (int i = 0; i < 3; ++i) {
    const std::string r = i == 0 ? "5" : "4";
    const std::string s = i < 2 ? fmt::format("r{}", i + 2) : fmt::format("v{}", i - 2);
    if (i == 2) {
      lines.push_back("phase");
      lines.push_back("texld r0, t0        ; texture");
    }
    lines.push_back(fmt::format("; light {}", i));
    lines.push_back("dp3 r" + r + ", r1, " + s + "         ; normal . light to power");
    lines.push_back(fmt::format("mul_sat r{0}, r{0}, c{1}         ; power * color to power", r, i + 4));
    if (i > 0) lines.push_back("add_sat r5.rgb, r5, r4 ; add power to base (sat-safe)");
  }
  lines.push_back("; final");
  lines.push_back("mov r5.a, c1.a");
  lines.push_back("mul_sat r5.rgb, r5, c1 ; multiply diffuse to base");
  lines.push_back("add_sat r5.rgb, r5, c0     ; add ambience/emmssive to base");
  lines.push_back("mul r0, r5, r0         ; texture * base");
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += kCrLf;
    text += lines[i];
  }
  return text;
}

void CreateRenderTargets() {
  LogWriteLine("Initializing targets.");
  graphics.targetsReady = true;
  if (!HookFlag(graphicsHooks.pickByColor)) return;
  // CreatePickTarget raises when there is no device.
  graphics.pickTarget =
      CreatePickTarget(graphics.videoWidth, graphics.videoHeight, graphics.pickTargetFormat);
  CheckResult(graphics.direct3dDevice->CreateDepthStencilSurface(
                  static_cast<std::uint32_t>(graphics.videoWidth), static_cast<std::uint32_t>(graphics.videoHeight),
                  graphics.presentParameters.autoDepthStencilFormat, 0, graphics.pickDepthSurface),
              "CreateDepthStencilSurface");
}

void ReleaseRenderTargets() {
  LogWriteLine("Terminating targets.");
  graphics.targetsReady = false;
  graphics.pickDepthSurface.reset();
  graphics.pickTarget.reset();
}

bool DeviceStartUp(gfx::Window* window) {
  const std::uint32_t id = WindowId(window);
  LogWriteLine("Preparing keyboard input.");
  RaiseIfFailed(InputCreateKeyboard(id, 6), "keyboard device");
  LogWriteLine("Preparing mouse input.");
  RaiseIfFailed(InputCreateMouse(id, true, 6), "mouse device");
  LogWriteLine("Preparing joystick input.");
  const std::vector<std::string> controllers = InputListGameControllers();
  if (!controllers.empty()) RaiseIfFailed(InputCreateJoystick(id, controllers[0], false, 6), "joystick device");
  LogWriteLine("Initializing devices.");

  LogWriteLine("Prepare device.");
  graphics.startScreenWidth = graphics.videoWidth;
  graphics.startScreenHeight = graphics.videoHeight;
  graphics.screenDotsPerInch = 96;
  graphics.screenDiagonalInches = 0;

  std::uint32_t format = 0, depth = 0;
  if (!graphics.videoWindowed) {
    const std::int32_t bits = FormatBitsPerPixel(static_cast<std::uint32_t>(graphics.videoFormat));
    if (GraphicsFindDisplayMode(graphics.videoWidth, graphics.videoHeight, bits, graphics.videoRefresh, format,
                                depth, true, true)) {
      LogWriteLine(fmt::format("Found format {}x{} {}Hz {}:{}.", graphics.videoWidth, graphics.videoHeight,
                               graphics.videoRefresh, format, depth));
      const std::int32_t result = GraphicsCreateDevice(window, graphics.videoWidth, graphics.videoHeight, format,
                                                       graphics.videoRefresh, 1, depth);
      if (result != 0) {
        DeviceFailed(result, "Please also make sure the resolution is supported by your video card.");
        return false;
      }
    } else {
      graphics.videoWindowed = true;  // for the rest of this run; the settings file keeps its value
    }
  }
  if (graphics.videoWindowed) {
    // The client area goes to the screen's top-left corner at the video size;
    // the size it really gets becomes the video size.
    if (window) {
      window->SetClientSize(graphics.videoWidth, graphics.videoHeight);
      window->Move(0, 0);
      graphics.videoWidth = window->ClientWidth();
      graphics.videoHeight = window->ClientHeight();
    }
    LogWriteLine("Finding best windowed format.");
    GraphicsFindDisplayMode(0, 0, 0, 0, format, depth, true, true);
    LogWriteLine(fmt::format("Found format {}.", depth));
    const std::int32_t result = GraphicsCreateDevice(window, 0, 0, 0, 0, 1, depth);
    if (result != 0) {
      DeviceFailed(result,
                   "You might also try changing the colour depth to 16bit, 24bit or 32bit.  Some cards only "
                   "support certain colour depths in windowed mode.");
      return false;
    }
  }

  LogWriteLine("Loading D3DX.");
  GraphicsCreateD3DX();

  LogWriteLine("Loading generic logo.");
  const ByteList logo = LoadingLogoPng();
  graphics.loadingLogo = TextureLoadFromBytes(logo, 0, 0, 0xFFFF00FF, 0, gfx::kFilterPoint, 1, gfx::kFilterPoint);

  LogWriteLine("Initializing GraphicsKiv.");
  if (graphicsHooks.graphicsInit) graphicsHooks.graphicsInit(*graphics.direct3dDevice);

  LogWriteLine("Setting up shaders.");
  std::vector<std::uint8_t> vertexProgram, pixelProgram;
  if (!Assemble(LightingVertexShaderText(), "vertex", "Vertex Shader Error", vertexProgram)) return false;
  if (!Assemble(LightingPixelShaderText(), "pixel", "Pixel Shader Error", pixelProgram)) return false;
  LogWriteLine("AssembleShader succeeded on pixel and vertex.");
  CreateShaders(vertexProgram, pixelProgram);

  LogWriteLine("Finding gorilla.");
  LogWriteLine("Creating targets.");
  CreateRenderTargets();
  return true;
}

}  // namespace kiv
