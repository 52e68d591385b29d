// Colour functions run from scripts: packing and reading channels, lightness,
// chroma and saturation, and the helper library's mixes passed through.
#include "internal_commands_fixture.h"
#include "mathkiv/colors.h"

namespace kiv::test {
namespace {

Variant Long(std::int32_t v) { return Variant::Long(v); }

class ColourFunctionsTest : public InternalCommandsTest {};

constexpr std::int32_t kSample = -15720400;  // &HFF102030
constexpr std::int32_t kPureRed = -65536;    // &HFFFF0000

struct ColourCase {
  std::u16string expression;
  Variant result;
};

std::u16string N(std::int32_t v) { return AnsiToUtf16(std::to_string(v)); }

TEST_F(ColourFunctionsTest, ChannelsLightnessAndSaturation) {
  const ColourCase cases[] = {
      {u"Color.RGB(300, -5, 128)", Long(-65408)},
      {u"Color.RGB(0, 0, 0)", Long(-16777216)},
      {u"Color.ARGB(128, 1, 2, 3)", Long(-2147417597)},
      {u"Color.ARGB(-1, 256, 2.5, 3.5)", Long(0x00FF0204)},
      {u"Color.Red(" + N(kSample) + u")", Long(16)},
      {u"Color.Green(" + N(kSample) + u")", Long(32)},
      {u"Color.Blue(" + N(kSample) + u")", Long(48)},
      {u"Color.Alpha(" + N(kSample) + u")", Long(255)},
      {u"Color.Alpha(1056816)", Long(0)},
      {u"Color.AlterAlpha(" + N(kSample) + u", 0)", Long(1056816)},
      {u"Color.AlterAlpha(1056816, 300)", Long(kSample)},
      {u"Color.Lightness(" + N(kPureRed) + u")", Long(127)},
      {u"Color.Chroma(" + N(kPureRed) + u")", Variant::Byte(255)},
      {u"Color.Saturation(" + N(kPureRed) + u")", Long(256)},
      {u"Color.Saturation(-1)", Long(0)},
      {u"Color.Saturation(-8355712)", Long(0)},
      {u"Color.Lightness(Color.RGB(200, 100, 100))", Long(150)},
      {u"Color.Saturation(Color.RGB(200, 100, 100))", Long(121)},
      {u"Color.Saturation(Color.RGB(255, 250, 250))", Long(212)},  // 5 * 65025 div 1530
      {u"Color.Saturation(Color.RGB(0, 0, 1))", Long(255)},
      // A lightness of 0 with some chroma is fully saturated.
      {u"Color.Saturation(Color.RGB(1, 0, 0))", Long(255)},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.expression));
    const std::size_t before = ErrorLog().size();
    EXPECT_EQ(RunScript(u"Return(" + c.expression + u")"), c.result);
    EXPECT_EQ(ErrorLog().size(), before) << LastError();
  }
}

TEST_F(ColourFunctionsTest, MixesAreTheHelperLibrarysValues) {
  const std::uint32_t a = 0x80FF4020u;
  const std::uint32_t b = 0xFF2040C0u;
  const std::u16string args = N(static_cast<std::int32_t>(a)) + u", " + N(static_cast<std::int32_t>(b));
  EXPECT_EQ(RunScript(u"Return(Color.Modulate(" + args + u"))"),
            Long(static_cast<std::int32_t>(ColorModulate(a, b))));
  EXPECT_EQ(RunScript(u"Return(Color.Average(" + args + u"))"),
            Long(static_cast<std::int32_t>(ColorAverage(a, b))));
  EXPECT_EQ(RunScript(u"Return(Color.Lerp(" + args + u", 0.25))"),
            Long(static_cast<std::int32_t>(ColorLerp(a, b, 0.25f))));
}

}  // namespace
}  // namespace kiv::test
