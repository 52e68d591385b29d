#include <gtest/gtest.h>

#include "platform/gfx/d3dx.h"
#include "platform/gfx/shader_glsl.h"

namespace kiv::gfx {
namespace {

TEST(ShaderAssembler, WrongTextsGiveAnErrorNamingTheLine) {
  struct Case {
    const char* text;
    const char* expected;  // start of the error text
  };
  const Case cases[] = {
      {"vs.2.0\nmov oPos, v0", "(1): error: unsupported shader version"},
      {"; comment only\n", "(1): error: missing shader version"},
      {"vs.1.0\nfoo r0, v0", "(2): error: unknown instruction 'foo'"},
      {"vs.1.0\nmov r0, c96", "(2): error: register 'c96' is out of range"},
      {"vs.1.0\nmov r12, v0", "(2): error: register 'r12' is out of range"},
      {"vs.1.0\n\nmov v0, r0", "(3): error: register 'v0' cannot be written"},
      {"vs.1.0\nadd r0, v0", "(2): error: 'add' needs 3 operands"},
      {"vs.1.0\nmov r0.xq, v0", "(2): error: invalid write mask"},
      {"vs.1.0\nmov r0.yx, v0", "(2): error: invalid write mask"},
      {"vs.1.0\nmov_sat r0, v0", "(2): error: 'mov_sat': vertex shaders take no instruction modifiers"},
      {"ps.1.4\nmov r0, c0\ntexld r1, t0", "(3): error: texture instructions must come before arithmetic"},
      {"ps.1.4\nmov r0, v0\nphase\nmov r0, r1", "(2): error: colour registers can be read only in the second phase"},
      {"ps.1.4\nphase\nphase", "(3): error: phase can appear only once"},
      {"ps.1.4\nmov r0, t0", "(2): error: texture coordinate registers are read only by texcrd and texld"},
      {"ps.1.4\n+mov r0.a, c0", "(2): error: co-issued instructions are not supported"},
      {"ps.1.4\nrsq r0, c0", "(2): error: unknown instruction 'rsq'"},
      {"ps.1.4\nmul_x3 r0, c0, c1", "(2): error: unknown instruction modifier"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::uint8_t> program;
    std::string errors;
    EXPECT_NE(AssembleShader(c.text, 0, program, errors), kOk);
    EXPECT_EQ(errors.rfind(c.expected, 0), 0u) << errors;
    EXPECT_TRUE(program.empty());
  }
}

TEST(ShaderAssembler, TranslatesRegistersAndModifiers) {
  std::vector<std::uint8_t> program;
  std::string errors;
  ASSERT_EQ(AssembleShader("ps.1.4\r\ndp3 r5, r1, v0 ; c\r\nmul_sat r5.rgb, -r5, c1.a\r\nmov r0, r5", 0, program,
                           errors),
            kOk)
      << errors;
  std::string glsl;
  ASSERT_TRUE(ProgramText(program.data(), program.size(), ShaderStage::kPixel, glsl));
  EXPECT_NE(glsl.find("r5.xyzw = ((vec4(dot((r1.xyzw).xyz, (oD0.xyzw).xyz)))).xyzw;"), std::string::npos) << glsl;
  EXPECT_NE(glsl.find("r5.xyz = (clamp(((-r5.xyzw) * clamp(pc[1], -1.0, 1.0).wwww), 0.0, 1.0)).xyz;"),
            std::string::npos)
      << glsl;
  EXPECT_FALSE(ProgramText(program.data(), program.size(), ShaderStage::kVertex, glsl));
}

}  // namespace
}  // namespace kiv::gfx
