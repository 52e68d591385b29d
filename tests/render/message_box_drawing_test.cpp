// Message boxes on a fake clock: the window skin, placement, typing with its
// pages, the input line, the item grid with its cursor and box 0's portrait.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "mathkiv/colors.h"
#include "media/graphics.h"
#include "render/message_box_drawing.h"
#include "render/render_hooks.h"
#include "render/text_layout.h"
#include "state/project_settings_block.h"
#include "support/recording_batcher.h"
#include "text_font_fixture.h"

namespace kiv {
namespace {

using test::RecordedKind;

constexpr std::uint32_t kTextTop = 0xFF000001, kTextBottom = 0xFF000002;
constexpr std::uint32_t kItemTop = 0xFF000004, kItemBottom = 0xFF000005, kItemFrame = 0xFF000006;
constexpr std::uint32_t kSelectedTop = 0xFF000007, kSelectedBottom = 0xFF000008, kSelectedFrame = 0xFF000009;
constexpr std::uint32_t kInputTop = 0xFF00000A;

gfx::TexturePtr NewTexture() {
  return std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 256, 256, 0, 1);
}

// A quad together with the texture bound when it was drawn.
struct DrawnQuad {
  const gfx::Texture* texture;
  test::RecordedQuad quad;
};

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    playerSettings.Reset();
    storedProjectSettings.Reset();
    messageBoxes = {};
    messagePortrait = {};
    graphics.videoWidth = 800, graphics.videoHeight = 600;
    gameData.fontSets.push_back(test::MakeTestFont());
    gameData.fontSets[0].loadedTexture = font;
    renderHooks.TickMilliseconds = [this] { return tick; };
    renderHooks.SystemTexture = [this](std::int32_t n) { return n == 0 ? skin : nullptr; };
    // Text shadow 0: no shadow quads.
    const std::uint32_t colours[12] = {kTextTop,     kTextBottom,     0,           kItemTop,
                                       kItemBottom,  kItemFrame,      kSelectedTop, kSelectedBottom,
                                       kSelectedFrame, kInputTop,     kInputTop,   0};
    for (std::size_t i = 0; i < 12; ++i) storedProjectSettings.messageBoxDefaults[2 + i] = static_cast<std::int32_t>(colours[i]);
  }
  void TearDown() override {
    gameData.Reset();
    renderHooks.Reset();
    playerSettings.Reset();
    storedProjectSettings.Reset();
    messageBoxes = {};
    messagePortrait = {};
    graphics.videoWidth = 800, graphics.videoHeight = 600;
  }

  static std::vector<std::int16_t> Layout(const std::u16string& text) {
    std::int32_t lines = 0;
    return WrapText(0, text, 0, lines, 1.0f);
  }

  std::vector<DrawnQuad> Drawn() const {
    std::vector<DrawnQuad> out;
    const gfx::Texture* bound = nullptr;
    for (const test::RecordedEvent& e : recorder.events) {
      if (e.kind == RecordedKind::kBind) bound = e.texture;
      if (e.kind != RecordedKind::kFlush) continue;
      for (std::size_t q = e.firstQuad; q < e.firstQuad + e.quadCount; ++q) out.push_back({bound, recorder.quads[q]});
    }
    return out;
  }
  std::vector<test::RecordedQuad> With(const gfx::TexturePtr& texture) const {
    std::vector<test::RecordedQuad> out;
    for (const DrawnQuad& d : Drawn())
      if (d.texture == texture.get()) out.push_back(d.quad);
    return out;
  }
  std::size_t GlyphCount() const { return With(font).size(); }

  // A box at the screen's corner with no window padding to think of.
  MessageBox& CornerBox(std::int32_t index = 1) {
    MessageBox& box = messageBoxes[static_cast<std::size_t>(index)];
    box.visible = true;
    box.posX = 0, box.posY = 0;
    box.width = 10, box.height = 4;
    return box;
  }

  gfx::TexturePtr font = NewTexture();
  gfx::TexturePtr skin = NewTexture();
  std::int32_t tick = 0;
  test::RecordingBatcher recorder;
};

TEST_F(MessageBoxTest, WindowSkinPlacesNineSliceCells) {
  DrawWindowSkin(10, 20, 3, 2, 32, 0.375f, 0, 0.125f, 0xFF123456);
  // 4 corners, 2 x (rows - 1) side pieces, 2 x (columns - 1) edge pieces, (columns - 1) x (rows - 1) centres.
  ASSERT_EQ(recorder.quads.size(), 12u);
  ASSERT_EQ(recorder.Count(RecordedKind::kFlush), 1u);
  struct Piece {
    float x, y, u, v;
  };
  std::vector<Piece> expected = {{10, 20, 0.375f, 0},          {106, 20, 0.625f, 0},       {10, 84, 0.375f, 0.25f},
                                 {106, 84, 0.625f, 0.25f},     {10, 52, 0.375f, 0.125f},   {106, 52, 0.625f, 0.125f},
                                 {42, 20, 0.5f, 0},            {42, 84, 0.5f, 0.25f},      {74, 20, 0.5f, 0},
                                 {74, 84, 0.5f, 0.25f},        {42, 52, 0.5f, 0.125f},     {74, 52, 0.5f, 0.125f}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const test::RecordedQuad& q = recorder.quads[i];
    EXPECT_FLOAT_EQ(q.Left(), expected[i].x);
    EXPECT_FLOAT_EQ(q.Top(), expected[i].y);
    EXPECT_FLOAT_EQ(q.Right() - q.Left(), 32);
    EXPECT_FLOAT_EQ(q.Screen(test::kTopLeft).tu, expected[i].u);
    EXPECT_FLOAT_EQ(q.Screen(test::kTopLeft).tv, expected[i].v);
    EXPECT_FLOAT_EQ(q.Screen(test::kBottomRight).tu, expected[i].u + 0.125f);
    EXPECT_EQ(q.Screen(test::kTopLeft).diffuse, 0xFF123456u);
    EXPECT_EQ(q.Screen(test::kTopLeft).specular, 0u);
  }
}

TEST_F(MessageBoxTest, PlacementFactorsCentreOrCornerTheWindow) {
  struct Case {
    float posX, posY;
    float x, y;
  };
  // A window of 6 x 4 cells: 192 x 128 pixels.
  for (const Case& c : {Case{1, 1, 304, 236}, Case{0, 0, 0, 0}, Case{0.5f, 1, 152, 236}, Case{1, 0, 304, 0}}) {
    recorder.Clear();
    MessageBox& box = messageBoxes[7];
    box = {};
    box.visible = true, box.noText = true;
    box.width = 5, box.height = 3;
    box.posX = c.posX, box.posY = c.posY;
    box.backColor = 0xFF0000AA, box.frameColor = 0xFF0000BB;
    DrawMessageBoxes();
    const auto pieces = With(skin);
    ASSERT_EQ(pieces.size(), 2u * (4 + 2 * 2 + 2 * 4 + 4 * 2));
    EXPECT_FLOAT_EQ(pieces[0].Left(), c.x);
    EXPECT_FLOAT_EQ(pieces[0].Top(), c.y);
    // Background layer first from (0, 0), then the frame layer from (0.375, 0).
    EXPECT_EQ(pieces[0].Screen(test::kTopLeft).diffuse, 0xFF0000AAu);
    EXPECT_FLOAT_EQ(pieces[0].Screen(test::kTopLeft).tu, 0);
    EXPECT_EQ(pieces[pieces.size() / 2].Screen(test::kTopLeft).diffuse, 0xFF0000BBu);
    EXPECT_FLOAT_EQ(pieces[pieces.size() / 2].Screen(test::kTopLeft).tu, 0.375f);
  }
  EXPECT_TRUE(messageBoxes[7].allShown);
  EXPECT_TRUE(messageBoxes[7].pageFull);
}

TEST_F(MessageBoxTest, BoxesDrawInIndexOrderOnlyWhenVisible) {
  for (std::int32_t i : {9, 2, 30}) {
    MessageBox& box = CornerBox(i);
    box.noText = true;
    box.backColor = 0xFF000000u + static_cast<std::uint32_t>(i);
  }
  messageBoxes[30].visible = false;
  DrawMessageBoxes();
  std::vector<std::uint32_t> order;
  for (const test::RecordedQuad& q : With(skin)) {
    const std::uint32_t c = q.Screen(test::kTopLeft).diffuse;
    if (order.empty() || order.back() != c) order.push_back(c);
  }
  EXPECT_EQ(order, (std::vector<std::uint32_t>{0xFF000002, 0xFFFFFFFF, 0xFF000009, 0xFFFFFFFF}));
}

TEST_F(MessageBoxTest, TypingShowsOneCharacterPerIntervalAndKeepsTheRemainder) {
  MessageBox& box = CornerBox();
  box.glyphs = Layout(u"AAAAAAAAAAAAAAAAAAAA");  // 20 glyphs
  tick = 4;
  // 4 ms ticks with a 15 ms interval: about one glyph per 15 ms.
  for (int t = 1; t <= 30; ++t) {
    recorder.Clear();
    DrawMessageBoxes();
    const std::int32_t shown = (4 * t * 2 + 15) / 30;  // Int(4t / 15), halves cannot occur
    ASSERT_EQ(GlyphCount(), static_cast<std::size_t>(shown + 1)) << t;
    EXPECT_EQ(box.typeElapsed, 4 * t) << t;
    EXPECT_FALSE(box.allShown);
  }
  // Reaching the last glyph drops the remainder.
  tick = 1000;
  DrawMessageBoxes();
  EXPECT_TRUE(box.allShown);
  EXPECT_EQ(box.typeElapsed, 19 * 15);
  EXPECT_FALSE(box.pageFull);

  // A type factor scales the interval; an interval of 0 shows everything at once.
  box.typeElapsed = 0, box.typeFactor = 2, tick = 60;
  recorder.Clear();
  DrawMessageBoxes();
  EXPECT_EQ(GlyphCount(), 3u);  // Int(60 / 30) = 2
  playerSettings.textInterval = 0;
  recorder.Clear();
  DrawMessageBoxes();
  EXPECT_EQ(GlyphCount(), 20u);
  EXPECT_TRUE(box.allShown);
}

TEST_F(MessageBoxTest, AnEmptyTextIsShownAtOnceWithoutTime) {
  MessageBox& box = CornerBox();
  tick = 40;
  DrawMessageBoxes();
  EXPECT_TRUE(box.allShown);
  EXPECT_EQ(box.typeElapsed, 0);
  EXPECT_EQ(GlyphCount(), 0u);
}

TEST_F(MessageBoxTest, PagingStopsAtTheMarkThatCompletesThePage) {
  MessageBox& box = CornerBox();
  box.glyphs = Layout(u"AA\u00B6AA\u00B6AA");  // marks at 2 and 5
  ASSERT_EQ(box.glyphs.size(), 8u);
  box.linesPerPage = 2;
  tick = 15 * 7;
  DrawMessageBoxes();
  EXPECT_TRUE(box.pageFull);
  EXPECT_FALSE(box.allShown);
  EXPECT_EQ(box.typeElapsed, 5 * 15);  // a stopped page banks no time
  EXPECT_EQ(GlyphCount(), 4u);
  tick = 15;
  DrawMessageBoxes();
  EXPECT_EQ(box.typeElapsed, 5 * 15);
  EXPECT_TRUE(box.pageFull);

  // The next page: typing resumes one character per interval.
  box.pageStart = 2;
  DrawMessageBoxes();
  EXPECT_FALSE(box.pageFull);
  EXPECT_EQ(box.typeElapsed, 6 * 15);
  DrawMessageBoxes();
  EXPECT_TRUE(box.allShown);
}

TEST_F(MessageBoxTest, NoTextOrNoFontShowsTheItemsAtOnce) {
  for (bool noFont : {false, true}) {
    SCOPED_TRACE(noFont);
    recorder.Clear();
    MessageBox& box = CornerBox();
    box = {};
    box.visible = true, box.posX = 0, box.posY = 0, box.width = 10, box.height = 4;
    box.glyphs = Layout(u"AAAA");
    box.noText = !noFont;
    box.items = {{u"A", Layout(u"A")}};
    if (noFont) gameData.fontSets.clear();
    DrawMessageBoxes();
    EXPECT_TRUE(box.allShown);
    EXPECT_TRUE(box.pageFull);
    EXPECT_EQ(box.typeElapsed, 0);
    // The item's frame at the item area's start, window y + 16, and the cursor.
    // The window's two layers of 11 x 5 pieces, the item's frame of 4 x 2 pieces of 16 and the cursor.
    const auto pieces = With(skin);
    ASSERT_EQ(pieces.size(), 2u * 55u + 8u + 8u);
    EXPECT_FLOAT_EQ(pieces[110].Left(), 16);
    EXPECT_FLOAT_EQ(pieces[110].Top(), 16);
    EXPECT_FLOAT_EQ(pieces[110].Right() - pieces[110].Left(), 16);
    EXPECT_EQ(pieces[110].Screen(test::kTopLeft).diffuse, kItemFrame);
    EXPECT_EQ(pieces[118].Screen(test::kTopLeft).diffuse, kSelectedFrame);
    EXPECT_EQ(GlyphCount(), noFont ? 0u : 1u);
  }
}

class ItemGridTest : public MessageBoxTest {
 protected:
  MessageBox& GridBox(std::int32_t items, std::int32_t columns) {
    MessageBox& box = CornerBox();
    box.noText = true;
    box.itemColumns = columns;
    box.itemWidth = 1;   // columns of 96 pixels
    box.itemHeight = 0;  // rows of 32 pixels
    for (std::int32_t i = 0; i < items; ++i) box.items.push_back({u"A", Layout(u"A")});
    return box;
  }
  // Captions in drawing order: left, top and top colour.
  struct Caption {
    float x, y;
    std::uint32_t top;
  };
  std::vector<Caption> Captions() const {
    std::vector<Caption> out;
    for (const test::RecordedQuad& q : With(font)) out.push_back({q.Left(), q.Top(), q.Screen(test::kTopLeft).diffuse});
    return out;
  }
};

TEST_F(ItemGridTest, ColumnsRowsAndTheSelectedColours) {
  MessageBox& box = GridBox(5, 0);
  DrawMessageBoxes();
  EXPECT_EQ(box.itemColumns, 1);  // 0 is stored back as 1
  ASSERT_EQ(Captions().size(), 5u);

  recorder.Clear();
  box.itemColumns = 3;
  box.selected = 1, box.cursorColumn = 1, box.cursorRow = 0;
  DrawMessageBoxes();
  const auto captions = Captions();
  ASSERT_EQ(captions.size(), 5u);
  // text x 16, item area y 16, f = Int(16 - 14 / 2) = 9; the glyph sits 1 pixel of padding up and left.
  const float x[5] = {24, 120, 216, 24, 120}, y[5] = {25, 25, 25, 57, 57};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_FLOAT_EQ(captions[i].x, x[i] - 1) << i;
    EXPECT_FLOAT_EQ(captions[i].y, y[i] - 1) << i;
    EXPECT_EQ(captions[i].top, i == 1 ? kSelectedTop : kItemTop) << i;
  }
  // The cursor in mid-move: no item takes the selected colours.
  recorder.Clear();
  box.cursorColumn = 0.5f;
  DrawMessageBoxes();
  for (const Caption& c : Captions()) EXPECT_EQ(c.top, kItemTop);
  const auto pieces = With(skin);
  // The cursor frame of 6 x 2 pieces is drawn last: x = Int(3 x 32 x 0.5 + 16) = 64.
  ASSERT_EQ(pieces.size(), 2u * 55u + 6u * 12u);
  EXPECT_FLOAT_EQ(pieces[pieces.size() - 12].Left(), 64);
  EXPECT_FLOAT_EQ(pieces[pieces.size() - 12].Top(), 16);
  EXPECT_FLOAT_EQ(pieces[pieces.size() - 11].Left(), 64 + 5 * 16);  // its top-right corner
  EXPECT_EQ(pieces.back().Screen(test::kTopLeft).diffuse, kSelectedFrame);

  // A plain list: text colours at text x, no frames and no cursor.
  recorder.Clear();
  box.plainList = true;
  DrawMessageBoxes();
  EXPECT_EQ(With(skin).size(), 2u * 55u);
  EXPECT_FLOAT_EQ(Captions()[1].x, 16 - 1);
  EXPECT_EQ(Captions()[1].top, kTextTop);
}

TEST_F(ItemGridTest, VisibleRowsAndSmoothScroll) {
  MessageBox& box = GridBox(6, 1);
  box.plainList = true;
  DrawMessageBoxes();
  EXPECT_EQ(Captions().size(), 6u);  // visibleRows 0: every row

  struct Case {
    std::int32_t visibleRows;
    float scroll;
    std::size_t count;
    float firstY;
  };
  // Rows are drawn while visibleRows >= row - Ceiling(scroll); they start at Floor(scroll).
  for (const Case& c : {Case{2, 0, 3, 25}, Case{2, 0.5f, 4, 9}, Case{2, 1, 3, 25}, Case{0, 2.25f, 4, 17}}) {
    recorder.Clear();
    box.visibleRows = c.visibleRows, box.scroll = c.scroll;
    DrawMessageBoxes();
    const auto captions = Captions();
    ASSERT_EQ(captions.size(), c.count) << c.scroll;
    EXPECT_FLOAT_EQ(captions[0].y, c.firstY - 1) << c.scroll;
  }
}

TEST_F(MessageBoxTest, InputLineAndBarMoveTheItemsDown) {
  MessageBox& box = CornerBox(3);
  box.noText = true;
  box.inputMode = 2;
  box.inputText = u"AB";
  box.inputGlyphs = Layout(u"AB");
  box.items = {{u"A", Layout(u"A")}};
  box.plainList = true;
  DrawMessageBoxes();
  const auto glyphs = With(font);
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_FLOAT_EQ(glyphs[0].Left(), 16 + 8 - 1);
  EXPECT_FLOAT_EQ(glyphs[0].Top(), 16 + 9 - 1);
  EXPECT_EQ(glyphs[0].Screen(test::kTopLeft).diffuse, kInputTop);
  EXPECT_FLOAT_EQ(glyphs[2].Top(), 16 + 32 + 9 - 1);  // the item, 32 pixels lower
  EXPECT_EQ(With(skin).size(), 2u * 55u);           // a plain list has no bar

  struct Case {
    std::int32_t box, mode;
    std::size_t middles;
  };
  for (const Case& c : {Case{3, 2, 4}, Case{4, 2, 2}, Case{4, 1, 8}}) {
    recorder.Clear();
    MessageBox& b = CornerBox(c.box);
    b.noText = true, b.inputMode = c.mode, b.plainList = false;
    b.items.clear();
    DrawMessageBoxes();
    messageBoxes[static_cast<std::size_t>(c.box)].visible = false;
    const auto pieces = With(skin);
    ASSERT_EQ(pieces.size(), 2u * 55u + c.middles + 2) << c.box << " " << c.mode;
    const test::RecordedQuad& left = pieces[110];
    const test::RecordedQuad& right = pieces.back();
    EXPECT_FLOAT_EQ(left.Left(), 16);
    EXPECT_FLOAT_EQ(left.Top(), 16);
    EXPECT_FLOAT_EQ(left.Screen(test::kTopLeft).tu, 0.375f);
    EXPECT_FLOAT_EQ(left.Screen(test::kTopLeft).tv, 0.375f);
    EXPECT_FLOAT_EQ(pieces[111].Screen(test::kTopLeft).tu, 0.5f);
    EXPECT_FLOAT_EQ(right.Left(), 16 + 32 * static_cast<float>(c.middles + 1));
    EXPECT_FLOAT_EQ(right.Screen(test::kTopLeft).tu, 0.625f);
    EXPECT_EQ(right.Screen(test::kTopLeft).diffuse, 0xFFFFFFFFu);
  }
}

TEST_F(MessageBoxTest, TheTypedTextLiesOnTheInputBar) {
  MessageBox& box = CornerBox(3);
  box.noText = true;
  box.inputMode = 2;
  box.inputText = u"AB";
  box.inputGlyphs = Layout(u"AB");
  box.plainList = false;
  DrawMessageBoxes();
  // Drawn order: the window (two layers of 55 pieces), the bar, then the text.
  std::vector<const gfx::Texture*> textures;
  for (const DrawnQuad& d : Drawn()) textures.push_back(d.texture);
  ASSERT_EQ(textures.size(), 2u * 55u + 6u + 2u);
  for (std::size_t i = 0; i < 2u * 55u + 6u; ++i) EXPECT_EQ(textures[i], skin.get()) << i;
  EXPECT_EQ(textures[textures.size() - 2], font.get());
  EXPECT_EQ(textures.back(), font.get());
}

class PortraitTest : public MessageBoxTest {
 protected:
  void SetUp() override {
    MessageBoxTest::SetUp();
    gameData.spriteSets.resize(2);
    SpriteSet& set = gameData.spriteSets[1];
    set.valueJ = 3;  // the portrait tag
    set.portraitTextures = {first, second};
    map = gameData.maps.Append();
    Actor actor;
    actor.specular = 0x00102030;
    CharacterLayer own;
    own.layerSpriteSet = 1, own.colourIndex = 3, own.area = -1, own.colour = 0xFF808080;
    CharacterLayer otherTag = own;
    otherTag.colourIndex = 2;
    CharacterLayer item = own;
    item.area = 0, item.colour = 0xFF00FF00;
    CharacterLayer noSet = own;
    noSet.layerSpriteSet = -1;
    actor.characterLayers = {own, otherTag, item, noSet};
    gameData.maps[map].actors.push_back(actor);
  }
  gfx::TexturePtr first = NewTexture(), second = NewTexture();
  std::int32_t map = 0;
};

TEST_F(PortraitTest, LayersWithThePortraitTagDrawBothImages) {
  EXPECT_EQ(SpritePortraitTag(gameData.spriteSets[1]), 3);
  EXPECT_EQ(&SpritePortraitImage(gameData.spriteSets[1], 0), &gameData.spriteSets[1].imageA);
  EXPECT_EQ(&SpritePortraitImage(gameData.spriteSets[1], 1), &gameData.spriteSets[1].imageB);
  DrawActorPortrait(map, 0, 10, 20, 96, 96, 0xFFFF8080);
  const auto drawn = Drawn();
  ASSERT_EQ(drawn.size(), 4u);
  ASSERT_EQ(recorder.Count(RecordedKind::kFlush), 4u);  // each quad at once
  struct Expect {
    const gfx::Texture* texture;
    std::uint32_t diffuse, specular;
  };
  const Expect expected[] = {{first.get(), ColorModulate(0xFF808080, 0xFFFF8080), 0x00102030},
                             {second.get(), 0xFFFF8080, 0x00102030},
                             {first.get(), ColorModulate(0xFF00FF00, 0xFFFF8080), 0},  // item layers: no specular
                             {second.get(), 0xFFFF8080, 0}};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(drawn[i].texture, expected[i].texture);
    EXPECT_EQ(drawn[i].quad.Screen(test::kTopLeft).diffuse, expected[i].diffuse);
    EXPECT_EQ(drawn[i].quad.Screen(test::kTopLeft).specular, expected[i].specular);
    EXPECT_FLOAT_EQ(drawn[i].quad.Left(), 10);
    EXPECT_FLOAT_EQ(drawn[i].quad.Top(), 20);
    EXPECT_FLOAT_EQ(drawn[i].quad.Right(), 106);
    EXPECT_FLOAT_EQ(drawn[i].quad.Screen(test::kBottomRight).tu, 1);
  }
  // A missing image is skipped.
  recorder.Clear();
  gameData.spriteSets[1].portraitTextures[0] = nullptr;
  DrawActorPortrait(map, 0, 10, 20, 96, 96, 0xFFFFFFFF);
  EXPECT_EQ(Drawn().size(), 2u);
  recorder.Clear();
  DrawActorPortrait(map, 5, 10, 20, 96, 96, 0xFFFFFFFF);
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(PortraitTest, BoxZeroShowsThePortraitAndMovesItsText) {
  MessageBox& box = CornerBox(0);
  box.glyphs = Layout(u"A");
  tick = 100;
  messagePortrait = {map, 0, false};
  DrawMessageBoxes();
  const auto glyphs = With(font);
  ASSERT_EQ(glyphs.size(), 1u);
  EXPECT_FLOAT_EQ(glyphs[0].Left(), 144 - 1);
  const auto portraits = With(first);
  ASSERT_EQ(portraits.size(), 2u);
  EXPECT_FLOAT_EQ(portraits[0].Left(), 32);
  EXPECT_FLOAT_EQ(portraits[0].Top(), 32);
  EXPECT_FLOAT_EQ(portraits[0].Bottom(), 128);

  recorder.Clear();
  messagePortrait.onRight = true;
  DrawMessageBoxes();
  EXPECT_FLOAT_EQ(With(font)[0].Left(), 16 - 1);
  EXPECT_FLOAT_EQ(With(first)[0].Left(), 10 * 32 - 96);

  // Other boxes show no portrait.
  recorder.Clear();
  box.visible = false;
  CornerBox(1).noText = true;
  DrawMessageBoxes();
  EXPECT_TRUE(With(first).empty());
}

TEST(CharacterLayerNamesTest, TagIsTheColourIndexAndSpecularSourceTheArea) {
  CharacterLayer layer;
  layer.colourIndex = 5, layer.area = -1;
  EXPECT_EQ(LayerTag(layer), 5);
  EXPECT_EQ(LayerSpecularSource(layer), -1);
  layer.area = 2;
  EXPECT_EQ(LayerSpecularSource(layer), 2);
}

}  // namespace
}  // namespace kiv
