// Assembler of the shader texts the player generates: vs.1.0/vs.1.1 vertex
// shaders and ps.1.4 pixel shaders become GLSL with the same constant
// registers. Anything outside the supported instructions and registers is an
// error text naming the line, so a wrong text is reported, never guessed.
#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/gfx/d3dx.h"
#include "platform/gfx/glsl_common.h"
#include "platform/gfx/shader_glsl.h"

namespace kiv::gfx {
namespace {

struct Failure {
  int line;
  std::string message;
};

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> SplitOperands(const std::string& s) {
  std::vector<std::string> out;
  std::string current;
  for (char c : s) {
    if (c == ',') {
      out.push_back(Trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!Trim(current).empty() || !out.empty()) out.push_back(Trim(current));
  return out;
}

// Maps a mask or swizzle text (xyzw or rgba letters) to xyzw letters.
std::optional<std::string> Components(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case 'x':
      case 'r':
        out += 'x';
        break;
      case 'y':
      case 'g':
        out += 'y';
        break;
      case 'z':
      case 'b':
        out += 'z';
        break;
      case 'w':
      case 'a':
        out += 'w';
        break;
      default:
        return std::nullopt;
    }
  }
  if (out.empty() || out.size() > 4) return std::nullopt;
  return out;
}

// prefix + number (built by append: GCC 12 misreports operator+ here as an overlapping copy).
std::string Named(const char* prefix, int n, const char* suffix = "") {
  std::string out(prefix);
  out.append(std::to_string(n)).append(suffix);
  return out;
}

class Assembler {
 public:
  Assembler(bool pixel, int line) : pixel_(pixel), line_(line) {}

  void SetLine(int line) { line_ = line; }
  [[noreturn]] void Fail(const std::string& message) const { throw Failure{line_, message}; }

  // A register as a GLSL expression, checked against the shader kind.
  std::string Register(const std::string& name, bool destination) {
    if (name.empty()) Fail("missing register");
    const std::string lower = Lower(name);
    if (!pixel_ && destination && lower == "opos") return "oPos";
    if (!pixel_ && destination && lower == "ofog") {
      writesFog_ = true;
      return "oFogV";
    }
    std::size_t digits = 1;
    std::string kind = lower.substr(0, 1);
    if (!pixel_ && destination && lower.size() >= 2 && lower[0] == 'o') {
      kind = lower.substr(0, 2);
      digits = 2;
    }
    const std::string numberText = lower.substr(digits);
    if (numberText.empty() || numberText.size() > 2 ||
        !std::all_of(numberText.begin(), numberText.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
      Fail("invalid register '" + name + "'");
    }
    const int n = std::stoi(numberText);
    const auto limit = [&](int max) {
      if (n >= max) Fail("register '" + name + "' is out of range");
    };
    if (kind == "r") {
      limit(pixel_ ? 6 : 12);
      return Named("r", n);
    }
    if (destination) {
      if (!pixel_ && kind == "ot") {
        limit(8);
        return Named("oT", n);
      }
      if (!pixel_ && kind == "od") {
        limit(2);
        return Named("oD", n);
      }
      Fail("register '" + name + "' cannot be written");
    }
    if (kind == "c") {
      if (pixel_) {
        limit(8);
        return Named("clamp(pc[", n, "], -1.0, 1.0)");
      }
      limit(96);
      return Named("c[", n, "]");
    }
    if (kind == "v") {
      if (pixel_) {
        limit(2);
        if (!inSecondPhase_) Fail("colour registers can be read only in the second phase");
        return Named("oD", n);
      }
      limit(16);
      usedInputs_[static_cast<std::size_t>(n)] = true;
      return Named("v", n);
    }
    if (kind == "t" && pixel_) Fail("texture coordinate registers are read only by texcrd and texld");
    Fail("invalid register '" + name + "'");
  }

  // A source operand: [-]register[.swizzle][_bias|_bx2].
  std::string Source(std::string text) {
    bool negate = false;
    if (!text.empty() && text[0] == '-') {
      negate = true;
      text = Trim(text.substr(1));
    }
    std::string modifier;
    for (const char* m : {"_bias", "_bx2"}) {
      const std::string suffix = m;
      if (pixel_ && text.size() > suffix.size() && Lower(text.substr(text.size() - suffix.size())) == suffix) {
        modifier = suffix;
        text = text.substr(0, text.size() - suffix.size());
      }
    }
    std::string swizzle = "xyzw";
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
      const auto c = Components(Lower(text.substr(dot + 1)));
      if (!c) Fail("invalid swizzle '" + text.substr(dot + 1) + "'");
      swizzle = *c;
      while (swizzle.size() < 4) swizzle += swizzle.back();  // the last component repeats
      text = text.substr(0, dot);
    }
    std::string e = Register(Trim(text), false) + "." + swizzle;
    if (modifier == "_bias") e = "(" + e + " - 0.5)";
    if (modifier == "_bx2") e = "(2.0 * (" + e + " - 0.5))";
    return negate ? "(-" + e + ")" : e;
  }

  struct Dest {
    std::string reg;
    std::string mask;
  };
  Dest Destination(const std::string& text) {
    const std::size_t dot = text.find('.');
    Dest d;
    d.mask = "xyzw";
    if (dot != std::string::npos) {
      const auto c = Components(Lower(text.substr(dot + 1)));
      if (!c) Fail("invalid write mask '" + text.substr(dot + 1) + "'");
      d.mask = *c;
      for (std::size_t i = 1; i < d.mask.size(); ++i) {
        if (std::string("xyzw").find(d.mask[i]) <= std::string("xyzw").find(d.mask[i - 1])) {
          Fail("invalid write mask '" + text.substr(dot + 1) + "'");
        }
      }
    }
    d.reg = Register(Trim(text.substr(0, dot)), true);
    return d;
  }

  std::string TextureCoordinate(const std::string& text) {
    const std::string lower = Lower(Trim(text));
    const std::size_t dot = lower.find('.');
    const std::string reg = lower.substr(0, dot);
    if (reg.size() == 2 && reg[0] == 't' && reg[1] >= '0' && reg[1] <= '5') return "oT" + reg.substr(1);
    if (inSecondPhase_ && reg.size() == 2 && reg[0] == 'r' && reg[1] >= '0' && reg[1] <= '5') return reg;
    Fail("invalid texture coordinate source '" + text + "'");
  }

  void Instruction(const std::string& text) {
    std::string opcode = text, rest;
    const std::size_t space = text.find_first_of(" \t");
    if (space != std::string::npos) {
      opcode = text.substr(0, space);
      rest = text.substr(space + 1);
    }
    opcode = Lower(opcode);
    if (!opcode.empty() && opcode[0] == '+') Fail("co-issued instructions are not supported");
    std::string base = opcode, modifier;
    const std::size_t underscore = opcode.find('_');
    if (underscore != std::string::npos) {
      base = opcode.substr(0, underscore);
      modifier = opcode.substr(underscore);
    }
    std::vector<std::string> ops = SplitOperands(rest);

    if (pixel_ && base == "phase") {
      if (!ops.empty() || !modifier.empty()) Fail("phase takes no operands");
      if (inSecondPhase_) Fail("phase can appear only once");
      inSecondPhase_ = true;
      arithmeticSeen_ = false;
      return;
    }
    if (pixel_ && (base == "texcrd" || base == "texld")) {
      if (!modifier.empty()) Fail("'" + opcode + "' takes no modifier");
      if (arithmeticSeen_) Fail("texture instructions must come before arithmetic in a phase");
      if (ops.size() != 2) Fail("'" + base + "' needs 2 operands");
      const Dest d = Destination(ops[0]);
      if (d.reg[0] != 'r') Fail("'" + base + "' writes a temporary register");
      const std::string coordinate = TextureCoordinate(ops[1]);
      if (base == "texcrd") {
        Emit(d, "vec4(" + coordinate + ".xyz, 1.0)");
      } else {
        if (d.mask != "xyzw") Fail("texld writes all components");
        Emit(d, "texture(uTex" + d.reg.substr(1) + ", " + coordinate + ".xy)");
      }
      return;
    }
    arithmeticSeen_ = true;

    struct Shape {
      const char* name;
      int sources;
      bool vertex, pixelOk;
    };
    static const Shape kShapes[] = {
        {"mov", 1, true, true}, {"add", 2, true, true}, {"sub", 2, true, true}, {"mul", 2, true, true},
        {"mad", 3, true, true}, {"dp3", 2, true, true}, {"dp4", 2, true, true}, {"lrp", 3, false, true},
        {"rsq", 1, true, false}, {"rcp", 1, true, false}, {"min", 2, true, false}, {"max", 2, true, false},
        {"slt", 2, true, false}, {"sge", 2, true, false}, {"m4x4", 2, true, false}, {"m4x3", 2, true, false},
        {"m3x3", 2, true, false}, {"m3x4", 2, true, false}, {"m3x2", 2, true, false}, {"nop", 0, true, true},
    };
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes) {
      if (base == s.name && (pixel_ ? s.pixelOk : s.vertex)) shape = &s;
    }
    if (!shape) Fail("unknown instruction '" + opcode + "'");
    if (base == "nop") return;
    if (static_cast<int>(ops.size()) != shape->sources + 1) {
      Fail("'" + base + "' needs " + std::to_string(shape->sources + 1) + " operands");
    }
    std::string scale;
    bool saturate = false;
    if (!modifier.empty()) {
      if (!pixel_) Fail("'" + opcode + "': vertex shaders take no instruction modifiers");
      std::string m = modifier;
      if (m.size() >= 4 && m.substr(m.size() - 4) == "_sat") {
        saturate = true;
        m = m.substr(0, m.size() - 4);
      }
      if (m == "_x2") scale = " * 2.0";
      else if (m == "_x4") scale = " * 4.0";
      else if (m == "_x8") scale = " * 8.0";
      else if (m == "_d2") scale = " * 0.5";
      else if (m == "_d4") scale = " * 0.25";
      else if (m == "_d8") scale = " * 0.125";
      else if (!m.empty()) Fail("unknown instruction modifier in '" + opcode + "'");
    }
    const Dest d = Destination(ops[0]);
    std::string e;
    if (base[0] == 'm' && base.size() == 4 && base[2] == 'x') {
      // Matrix rows are consecutive registers from the second source's register.
      const int width = base[1] - '0', rows = base[3] - '0';
      const std::string row0 = Lower(Trim(ops[2]));
      if (row0.find('.') != std::string::npos || row0.empty() || row0[0] == '-') {
        Fail("matrix source takes no swizzle or negation");
      }
      const std::string a = Source(ops[1]);
      const std::string kind = row0.substr(0, 1);
      const int first = std::stoi(row0.substr(1).empty() ? "x" : row0.substr(1));
      const std::string sw = width == 4 ? "" : ".xyz";
      std::string parts[4] = {"0.0", "0.0", "0.0", "0.0"};
      for (int i = 0; i < rows; ++i) {
        const std::string row = Source(kind + std::to_string(first + i));
        parts[i] = "dot((" + a + ")" + sw + ", (" + row + ")" + sw + ")";
      }
      e = "vec4(" + parts[0] + ", " + parts[1] + ", " + parts[2] + ", " + parts[3] + ")";
    } else {
      std::vector<std::string> s;
      for (int i = 0; i < shape->sources; ++i) s.push_back(Source(ops[static_cast<std::size_t>(i + 1)]));
      if (base == "mov") e = s[0];
      else if (base == "add") e = s[0] + " + " + s[1];
      else if (base == "sub") e = s[0] + " - " + s[1];
      else if (base == "mul") e = s[0] + " * " + s[1];
      else if (base == "mad") e = s[0] + " * " + s[1] + " + " + s[2];
      else if (base == "dp3") e = "vec4(dot((" + s[0] + ").xyz, (" + s[1] + ").xyz))";
      else if (base == "dp4") e = "vec4(dot(" + s[0] + ", " + s[1] + "))";
      else if (base == "lrp") e = "mix(" + s[2] + ", " + s[1] + ", " + s[0] + ")";
      else if (base == "rsq") e = "vec4(Rsq((" + s[0] + ").w))";
      else if (base == "rcp") e = "vec4(Rcp((" + s[0] + ").w))";
      else if (base == "min") e = "min(" + s[0] + ", " + s[1] + ")";
      else if (base == "max") e = "max(" + s[0] + ", " + s[1] + ")";
      else if (base == "slt") e = "vec4(lessThan(" + s[0] + ", " + s[1] + "))";
      else if (base == "sge") e = "vec4(greaterThanEqual(" + s[0] + ", " + s[1] + "))";
    }
    e = "(" + e + ")" + scale;
    if (saturate) e = "clamp(" + e + ", 0.0, 1.0)";
    Emit(d, e);
  }

  void Emit(const Dest& d, const std::string& expression) {
    body_ << "  " << d.reg << "." << d.mask << " = (" << expression << ")." << d.mask << ";\n";
  }

  std::string VertexGlsl() const {
    std::ostringstream s;
    s << "#version 330 core\nuniform vec4 c[96];\nuniform vec4 uViewport;\nuniform vec2 uDepthRange;\n"
         "uniform int uFogMode;\nuniform int uFogTable;\nuniform vec3 uFogParams;\n"
         "uniform mat4 uInvProjection;\n";
    for (std::size_t i = 0; i < usedInputs_.size(); ++i) {
      if (usedInputs_[i]) s << "layout(location = " << i << ") in vec4 v" << i << ";\n";
    }
    s << "COLOR_SHADE out vec4 oD0;\nCOLOR_SHADE out vec4 oD1;\n";
    for (int i = 0; i < 8; ++i) s << "out vec4 oT" << i << ";\n";
    s << "out float oFog;\n"
      << FogFactorGlsl()
      << "float Rsq(float x) { x = abs(x); return x == 0.0 ? 3.4e38 : inversesqrt(x); }\n"
         "float Rcp(float x) { return x == 0.0 ? 3.4e38 : 1.0 / x; }\n"
         "void main() {\n  vec4 oPos = vec4(0.0, 0.0, 0.0, 1.0);\n  vec4 oFogV = vec4(1.0);\n"
         "  oD0 = vec4(0.0);\n  oD1 = vec4(0.0);\n";
    for (int i = 0; i < 8; ++i) s << "  oT" << i << " = vec4(0.0);\n";
    for (int i = 0; i < 12; ++i) s << "  vec4 r" << i << " = vec4(0.0);\n";
    s << body_.str();
    // Colours are clamped; the position follows the device's pixel-centre and depth-range rules.
    s << "  oD0 = clamp(oD0, 0.0, 1.0);\n  oD1 = clamp(oD1, 0.0, 1.0);\n  oFog = oFogV.x;\n";
    // Pixel fog, and vertex fog of a shader without a fog output, follow the
    // eye distance as in the fixed pipeline: the device's projection is undone
    // on the output position to find it.
    s << "  if (uFogMode >= 1 && uFogMode <= 3 && (uFogTable != 0 || " << (writesFog_ ? "false" : "true")
      << ")) {\n"
         "    vec4 eye = uInvProjection * oPos;\n"
         "    oFog = FogFactor(uFogMode, uFogParams, abs(eye.w != 0.0 ? eye.z / eye.w : eye.z));\n  }\n"
         "  vec4 clip = oPos;\n  clip.x += clip.w / uViewport.z;\n  clip.y -= clip.w / uViewport.w;\n"
         "  clip.z = 2.0 * (uDepthRange.x * clip.w + (uDepthRange.y - uDepthRange.x) * clip.z) - clip.w;\n"
         "  gl_Position = clip;\n}\n";
    return s.str();
  }

  std::string PixelGlsl() const {
    std::ostringstream s;
    s << "#version 330 core\nuniform vec4 pc[8];\nuniform sampler2D uTex0;\nuniform sampler2D uTex1;\n"
         "uniform sampler2D uTex2;\nuniform sampler2D uTex3;\nuniform sampler2D uTex4;\n"
         "uniform sampler2D uTex5;\n"
         "uniform int uAlphaFunc;\nuniform float uAlphaRef;\nuniform int uFogEnable;\n"
         "uniform vec3 uFogColor;\n"
         "COLOR_SHADE in vec4 oD0;\nCOLOR_SHADE in vec4 oD1;\n";
    for (int i = 0; i < 6; ++i) s << "in vec4 oT" << i << ";\n";
    s << "in float oFog;\nout vec4 fragColor;\n" << AlphaCompareGlsl() << "void main() {\n";
    for (int i = 0; i < 6; ++i) s << "  vec4 r" << i << " = vec4(0.0);\n";
    // The alpha test and fog come after the shader, as they do after the
    // fixed stages: a discarded pixel writes neither colour nor depth.
    s << body_.str()
      << "  vec4 result = clamp(r0, 0.0, 1.0);\n"
         "  if (!Passes(uAlphaFunc, floor(result.a * 255.0 + 0.5), uAlphaRef)) discard;\n"
         "  if (uFogEnable != 0) result.rgb = mix(uFogColor, result.rgb, clamp(oFog, 0.0, 1.0));\n"
         "  fragColor = result;\n}\n";
    return s.str();
  }

  bool inSecondPhase_ = false;

 private:
  bool pixel_;
  int line_;
  bool arithmeticSeen_ = false;
  bool writesFog_ = false;
  std::array<bool, 16> usedInputs_{};
  std::ostringstream body_;
};

}  // namespace

HResult AssembleShader(const std::string& source, std::uint32_t /*flags*/, std::vector<std::uint8_t>& program,
                       std::string& errors) {
  program.clear();
  errors.clear();
  std::vector<std::string> lines;
  {
    std::string current;
    for (char c : source) {
      if (c == '\n') {
        lines.push_back(current);
        current.clear();
      } else if (c != '\r') {
        current += c;
      }
    }
    lines.push_back(current);
  }
  std::optional<Assembler> assembler;
  bool pixel = false;
  try {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const int lineNumber = static_cast<int>(i) + 1;
      std::string text = lines[i];
      const std::size_t comment = std::min(text.find(';'), text.find("//"));
      if (comment != std::string::npos) text = text.substr(0, comment);
      text = Trim(text);
      if (text.empty()) continue;
      if (!assembler) {
        const std::string version = Lower(text);
        if (version == "vs.1.0" || version == "vs.1.1") {
          pixel = false;
        } else if (version == "ps.1.4") {
          pixel = true;
        } else {
          throw Failure{lineNumber, "unsupported shader version '" + text + "'"};
        }
        assembler.emplace(pixel, lineNumber);
        // Without a phase marker the whole program is the second phase.
        const bool hasPhase = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
          return Lower(Trim(l.substr(0, l.find(';')))) == "phase";
        });
        assembler->inSecondPhase_ = pixel && !hasPhase;
        continue;
      }
      assembler->SetLine(lineNumber);
      assembler->Instruction(text);
    }
    if (!assembler) throw Failure{1, "missing shader version"};
  } catch (const Failure& f) {
    errors = "(" + std::to_string(f.line) + "): error: " + f.message;
    return kErrInvalidCall;
  } catch (const std::exception& e) {
    errors = std::string("(1): error: ") + e.what();
    return kErrInvalidCall;
  }
  program = PackProgram(pixel ? ShaderStage::kPixel : ShaderStage::kVertex,
                        pixel ? assembler->PixelGlsl() : assembler->VertexGlsl());
  return kOk;
}

}  // namespace kiv::gfx
