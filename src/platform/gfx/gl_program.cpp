#include "platform/gfx/gl_program.h"

#include <epoxy/gl.h>

#include <iterator>

#include "platform/gfx/glsl_common.h"

namespace kiv::gfx {
namespace {

// The colour qualifier goes right after the version line, which must come first.
std::string WithColorShade(const std::string& source, bool flat) {
  const std::size_t lineEnd = source.find('\n');
  const std::string define = std::string("#define COLOR_SHADE ") + (flat ? "flat" : "smooth") + "\n";
  if (lineEnd == std::string::npos) return source + "\n" + define;
  return source.substr(0, lineEnd + 1) + define + source.substr(lineEnd + 1);
}

GLuint Compile(GLenum kind, const std::string& source, std::string& log) {
  GLuint shader = glCreateShader(kind);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char buffer[2048] = {};
    glGetShaderInfoLog(shader, sizeof buffer - 1, nullptr, buffer);
    log += buffer;
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

GlProgram::GlProgram(const std::string& vertexSource, const std::string& fragmentSource, bool flatColors) {
  GLuint vs = Compile(GL_VERTEX_SHADER, WithColorShade(vertexSource, flatColors), log_);
  GLuint fs = Compile(GL_FRAGMENT_SHADER, WithColorShade(fragmentSource, flatColors), log_);
  if (vs == 0 || fs == 0) {
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char buffer[2048] = {};
    glGetProgramInfoLog(program, sizeof buffer - 1, nullptr, buffer);
    log_ += buffer;
    glDeleteProgram(program);
    return;
  }
  name_ = program;
  static constexpr const char* kNames[] = {
      "uWorldViewProj", "uWorld", "uWorldView", "uInvProjection", "uViewport", "uDepthRange",
      "uPretransformed", "uHasNormal", "uHasDiffuse", "uHasSpecular",
      "uLighting", "uColorVertex", "uAmbient", "uMatDiffuse", "uMatAmbient", "uMatEmissive",
      "uLightCount", "uLightPos", "uLightDir", "uLightDiffuse", "uLightAmbient", "uLightAtten",
      "uFogMode", "uFogTable", "uFogParams", "uFogColor", "uFogEnable",
      "uHasTex", "uColorOp", "uColorArg1", "uColorArg2", "uAlphaOp", "uAlphaArg1", "uAlphaArg2",
      "uTFactor", "uSpecularEnable", "uAlphaFunc", "uAlphaRef",
      "c", "pc",
      "uTex0", "uTex1", "uTex2", "uTex3", "uTex4", "uTex5",
      "uHasQuadExtras", "uSlot1", "uSlot2", "uSlot3", "uSlot4", "uSlot5", "uSlot6", "uSlot7"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(Uniform::kCount));
  for (std::size_t i = 0; i < locations_.size(); ++i) locations_[i] = glGetUniformLocation(program, kNames[i]);
}

GlProgram::~GlProgram() {
  if (name_ != 0) glDeleteProgram(name_);
}

const std::string& FixedVertexSource() {
  static const std::string source = std::string(R"(#version 330 core
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec4 aSpecular;
layout(location = 4) in vec2 aTex;
layout(location = 5) in float aDepthScale;
layout(location = 6) in float aTexSlot;
uniform int uPretransformed;
uniform int uHasQuadExtras;
uniform int uHasNormal;
uniform int uHasDiffuse;
uniform int uHasSpecular;
uniform mat4 uWorldViewProj;
uniform mat4 uWorld;
uniform mat4 uWorldView;
uniform vec4 uViewport;     // x, y, width, height of the viewport in pixels
uniform vec2 uDepthRange;   // MinZ, MaxZ
uniform int uLighting;
uniform int uColorVertex;
uniform vec4 uAmbient;
uniform vec4 uMatDiffuse;
uniform vec4 uMatAmbient;
uniform vec4 uMatEmissive;
uniform int uLightCount;
uniform vec4 uLightPos[8];      // xyz position, w type
uniform vec4 uLightDir[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightAmbient[8];
uniform vec4 uLightAtten[8];    // a0, a1, a2, range
uniform int uFogMode;           // 0 specular alpha, 1 exp, 2 exp2, 3 linear
uniform vec3 uFogParams;        // start, end, density
COLOR_SHADE out vec4 oD0;
COLOR_SHADE out vec4 oD1;
out vec4 oT0;
out vec4 oT1;
out vec4 oT2;
out vec4 oT3;
out vec4 oT4;
out vec4 oT5;
out vec4 oT6;
out vec4 oT7;
out float oFog;
flat out int oTexSlot;
)") + FogFactorGlsl() + R"(
void main() {
  oTexSlot = uHasQuadExtras != 0 ? int(aTexSlot + 0.5) : 0;
  float depthScale = uHasQuadExtras != 0 ? aDepthScale : 1.0;
  vec4 diffuse = uHasDiffuse != 0 ? aDiffuse : vec4(1.0);
  vec4 specular = uHasSpecular != 0 ? aSpecular : vec4(0.0);
  oT0 = vec4(aTex, 0.0, 1.0);
  oT1 = oT0; oT2 = oT0; oT3 = oT0; oT4 = oT0; oT5 = oT0; oT6 = oT0; oT7 = oT0;
  if (uPretransformed != 0) {
    // Screen positions: pixel centres lie on whole numbers.
    float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
    vec2 ndc = vec2((aPosition.x + 0.5 - uViewport.x) / uViewport.z * 2.0 - 1.0,
                    1.0 - (aPosition.y + 0.5 - uViewport.y) / uViewport.w * 2.0);
    gl_Position = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
    oFog = uHasSpecular != 0 ? specular.a : 1.0;
  } else {
    vec4 position = vec4(aPosition.xyz, 1.0);
    vec4 clip = uWorldViewProj * position;
    clip.x += clip.w / uViewport.z;
    clip.y -= clip.w / uViewport.w;
    clip.z = 2.0 * (uDepthRange.x * clip.w + (uDepthRange.y - uDepthRange.x) * depthScale * clip.z) - clip.w;
    gl_Position = clip;
    if (uLighting != 0) {
      vec3 worldPos = (uWorld * position).xyz;
      vec3 n = uHasNormal != 0 ? mat3(uWorld) * aNormal : vec3(0.0);
      if (dot(n, n) > 0.0) n = normalize(n);
      vec4 matDiffuse = (uColorVertex != 0 && uHasDiffuse != 0) ? aDiffuse : uMatDiffuse;
      vec3 color = uMatEmissive.rgb + uAmbient.rgb * uMatAmbient.rgb;
      for (int i = 0; i < uLightCount; ++i) {
        vec3 l;
        float attenuation = 1.0;
        if (uLightPos[i].w == 3.0) {
          l = -normalize(uLightDir[i].xyz);
        } else {
          l = uLightPos[i].xyz - worldPos;
          float d = length(l);
          if (uLightAtten[i].w > 0.0 && d > uLightAtten[i].w) continue;
          l = d > 0.0 ? l / d : vec3(0.0);
          float denominator = uLightAtten[i].x + uLightAtten[i].y * d + uLightAtten[i].z * d * d;
          attenuation = denominator > 0.0 ? 1.0 / denominator : 1.0;
        }
        color += attenuation * (uLightAmbient[i].rgb * uMatAmbient.rgb +
                                max(dot(n, l), 0.0) * uLightDiffuse[i].rgb * matDiffuse.rgb);
      }
      diffuse = vec4(clamp(color, 0.0, 1.0), matDiffuse.a);
      specular = vec4(0.0, 0.0, 0.0, specular.a);
    }
    float distance = abs((uWorldView * position).z);
    if (uFogMode >= 1 && uFogMode <= 3) {
      oFog = FogFactor(uFogMode, uFogParams, distance);
    } else {
      oFog = uHasSpecular != 0 ? specular.a : 1.0;
    }
  }
  oD0 = clamp(diffuse, 0.0, 1.0);
  oD1 = clamp(specular, 0.0, 1.0);
}
)";
  return source;
}

const std::string& FixedFragmentSource() {
  static const std::string source = std::string(R"(#version 330 core
COLOR_SHADE in vec4 oD0;
COLOR_SHADE in vec4 oD1;
in vec4 oT0;
in float oFog;
out vec4 fragColor;
uniform sampler2D uTex0;
uniform sampler2D uTex1;
//STAGES
uniform int uHasTex[2];
uniform int uColorOp[2];
uniform int uColorArg1[2];
uniform int uColorArg2[2];
uniform int uAlphaOp[2];
uniform int uAlphaArg1[2];
uniform int uAlphaArg2[2];
uniform vec4 uTFactor;
uniform int uSpecularEnable;
uniform int uAlphaFunc;   // comparison number; 8 passes everything
uniform int uFogEnable;
//END
uniform float uAlphaRef;  // 0 .. 255
uniform vec3 uFogColor;

vec4 Arg(int a, vec4 current, vec4 tex) {
  int select = a & 15;
  vec4 v = current;
  if (select == 0) v = oD0;
  else if (select == 2) v = tex;
  else if (select == 3) v = uTFactor;
  else if (select == 4) v = oD1;
  if ((a & 16) != 0) v = vec4(1.0) - v;
  if ((a & 32) != 0) v = vec4(v.a);
  return v;
}

vec4 Op(int op, vec4 a1, vec4 a2, vec4 tex, vec4 current) {
  if (op == 2) return a1;
  if (op == 3) return a2;
  if (op == 4) return a1 * a2;
  if (op == 5) return a1 * a2 * 2.0;
  if (op == 6) return a1 * a2 * 4.0;
  if (op == 7) return a1 + a2;
  if (op == 8) return a1 + a2 - 0.5;
  if (op == 9) return (a1 + a2 - 0.5) * 2.0;
  if (op == 10) return a1 - a2;
  if (op == 11) return a1 + a2 - a1 * a2;
  if (op == 12) return mix(a2, a1, oD0.a);
  if (op == 13) return mix(a2, a1, tex.a);
  if (op == 14) return mix(a2, a1, uTFactor.a);
  if (op == 15) return a1 + a2 * (1.0 - tex.a);
  if (op == 16) return mix(a2, a1, current.a);
  return a1;
}

)") + AlphaCompareGlsl() + R"(
void main() {
  vec4 current = oD0;
  for (int s = 0; s < 2; ++s) {
    if (uColorOp[s] == 1) break;
    vec4 tex = vec4(1.0);
    if (uHasTex[s] != 0) tex = s == 0 ? texture(uTex0, oT0.xy) : texture(uTex1, oT0.xy);
    vec3 rgb = Op(uColorOp[s], Arg(uColorArg1[s], current, tex), Arg(uColorArg2[s], current, tex), tex,
                  current).rgb;
    float alpha = current.a;
    if (uAlphaOp[s] != 1) {
      alpha = Op(uAlphaOp[s], Arg(uAlphaArg1[s], current, tex), Arg(uAlphaArg2[s], current, tex), tex,
                 current).a;
    }
    current = clamp(vec4(rgb, alpha), 0.0, 1.0);
  }
  if (uSpecularEnable != 0) current.rgb = clamp(current.rgb + oD1.rgb, 0.0, 1.0);
  // Alpha is compared as a byte, like the reference value.
  if (!Passes(uAlphaFunc, floor(current.a * 255.0 + 0.5), uAlphaRef)) discard;
  if (uFogEnable != 0) current.rgb = mix(uFogColor, current.rgb, clamp(oFog, 0.0, 1.0));
  fragColor = current;
}
)";
  return source;
}

std::string SpecializedFragmentSource(const std::vector<int>& v, bool slots) {
  const std::string& source = FixedFragmentSource();
  const std::size_t begin = source.find("//STAGES"), end = source.find("//END");
  const auto pair = [&](const char* name, std::size_t at) {
    return "const int " + std::string(name) + "[2] = int[2](" + std::to_string(v[at]) + ", " +
           std::to_string(v[at + 1]) + ");\n";
  };
  std::string constants = pair("uHasTex", 0) + pair("uColorOp", 2) + pair("uColorArg1", 4) +
                          pair("uColorArg2", 6) + pair("uAlphaOp", 8) + pair("uAlphaArg1", 10) +
                          pair("uAlphaArg2", 12);
  constants += "const int uSpecularEnable = " + std::to_string(v[14]) + ";\n";
  constants += "const int uAlphaFunc = " + std::to_string(v[15]) + ";\n";
  constants += "const int uFogEnable = " + std::to_string(v[16]) + ";\nuniform vec4 uTFactor;\n";
  std::string text = source.substr(0, begin) + constants + source.substr(end);
  if (!slots) return text;
  const std::string sample = "texture(uTex0, oT0.xy)";
  text.replace(text.find(sample), sample.size(), "SlotTexel(oT0.xy)");
  const std::string slotCode = R"(flat in int oTexSlot;
uniform sampler2D uSlot1;
uniform sampler2D uSlot2;
uniform sampler2D uSlot3;
uniform sampler2D uSlot4;
uniform sampler2D uSlot5;
uniform sampler2D uSlot6;
uniform sampler2D uSlot7;
vec4 SlotTexel(vec2 uv) {
  switch (oTexSlot) {
    case 1: return texture(uSlot1, uv);
    case 2: return texture(uSlot2, uv);
    case 3: return texture(uSlot3, uv);
    case 4: return texture(uSlot4, uv);
    case 5: return texture(uSlot5, uv);
    case 6: return texture(uSlot6, uv);
    case 7: return texture(uSlot7, uv);
    default: return texture(uTex0, uv);
  }
}
)";
  const std::size_t main = text.find("void main()");
  text.insert(main, slotCode);
  return text;
}

}  // namespace kiv::gfx
