// A text field laid out by the game data's field layout through the installed
// text layout.
#include "data/field_record.h"
#include "data/map_record.h"
#include "render/render_setup.h"
#include "render/text_font_fixture.h"

namespace kiv {
namespace {

using test::kA;
using test::kSpace;
using test::TextTest;

TEST_F(TextTest, FieldLayoutWrapsTextThroughTheInstalledHook) {
  InstallRenderDataHooks();
  struct Case {
    float width;
    std::int32_t fieldLineHeight;
    GlyphIndexList lines;
    std::int32_t lineCount, pixelHeight;
  };
  // "AAA " is 20 wide with its blank, "AAA" 18; the font's line height is 14.
  const Case cases[] = {
      {38, 0, {kA, kA, kA, kSpace, kA, kA, kA}, 1, 14},
      {37, 0, {kA, kA, kA, kGlyphLineMark, kA, kA, kA}, 2, 28},
      {37, 20, {kA, kA, kA, kGlyphLineMark, kA, kA, kA}, 2, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    Map map;
    map.fields.resize(1);
    Field& field = map.fields[0];
    field.fontSet = 0;
    field.width = c.width;
    field.lineHeight = c.fieldLineHeight;
    field.value1 = Variant::Text(u"AAA AAA");
    UpdateFieldLayout(map, 0, 0);
    EXPECT_EQ(field.lines, c.lines);
    EXPECT_EQ(field.lineCount, c.lineCount);
    EXPECT_EQ(field.pixelHeight, c.pixelHeight);
  }
}

}  // namespace
}  // namespace kiv
