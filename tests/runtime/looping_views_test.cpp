// Views that look into themselves, loaded from saves of the sample game and
// drawn on the offscreen device: a view that follows its player into the
// view's own interface, and two interfaces whose views show each other. Each
// map is drawn and picked once; nothing recurses without end.
#include <gtest/gtest.h>

#include <memory>

#include "media/device_startup.h"
#include "media/graphics.h"
#include "player/shell_state.h"
#include "render/draw_helpers.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "state/save_game_fixture.h"
#include "world/pointer_picking.h"

namespace kiv::test {
namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr std::uint8_t kViewKind = 6;

class LoopingViews : public SaveGameTest {
 protected:
  void SetUp() override {
    SaveGameTest::SetUp();
    graphics.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("views", kWidth, kHeight, false, false);
    ASSERT_EQ(GraphicsCreateDevice(window.get(), kWidth, kHeight, 0, 0, 1, 0), 0);
    graphics.videoWidth = kWidth;
    graphics.videoHeight = kHeight;
  }
  void TearDown() override {
    graphics.Reset();
    window.reset();
    shell.mouseTriggersPresent = false;
    SaveGameTest::TearDown();
  }

  static std::int32_t InterfaceNamed(const std::u16string& name) {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
      if (gameData.maps[m].isInterface && gameData.maps[m].fileName == name) return m;
    }
    return -1;
  }
  static std::int32_t ViewField(std::int32_t map) {
    const auto& fields = gameData.maps[map].fields;
    for (std::size_t f = 0; f < fields.size(); ++f) {
      if (fields[f].Kind() == kViewKind) return static_cast<std::int32_t>(f);
    }
    return -1;
  }

  void SaveAndLoad() {
    SaveGame(dir.File("views.kSV"));
    ASSERT_EQ(LoadGame(dir.File("views.kSV")), 0);
  }

  // A frame, a pick image, and a pointer query in the middle of the view
  // field of the interface: each returns (without the guards each recursed
  // until the stack overflowed).
  void DrawAndPickThrough(std::int32_t face) {
    const std::int32_t field = ViewField(face);
    ASSERT_GE(field, 0);
    DrawFrame();
    pickPass = 1;
    DrawFrame();
    pickPass = 0;
    FieldScreenRect rect;
    GetFieldScreenRect(gameData.maps[face].fields[static_cast<std::size_t>(field)], 0, 0, kWidth, kHeight, rect);
    shell.mouseTriggersPresent = true;
    PickQuery query;
    query.map = face;
    query.x = rect.left + rect.width / 2;
    query.y = rect.top + rect.height / 2;
    query.viewWidth = kWidth;
    query.viewHeight = kHeight;
    PickAtPoint(query);
  }

  std::unique_ptr<gfx::Window> window;
};

TEST_F(LoopingViews, AViewFollowingItsPlayerIntoItsOwnInterface) {
  StartSampleGame();
  // Only the off-map record is saved, with player 0 on map 0: the load puts
  // the HUD at index 0, and its view follows player 0 into the HUD.
  while (gameData.maps.LastIndex() >= 0) gameData.maps.RemoveLast();
  ASSERT_FALSE(projectState.players.empty());
  projectState.players[0].mapIndex = 0;
  SaveAndLoad();

  const std::int32_t hud = InterfaceNamed(u"Hud");
  ASSERT_EQ(hud, 0);
  ASSERT_EQ(gameData.maps[hud].overlayActive, 1);
  const std::int32_t field = ViewField(hud);
  ASSERT_GE(field, 0);
  ASSERT_EQ(FieldViewMap(gameData.maps[hud].fields[static_cast<std::size_t>(field)]), hud);
  DrawAndPickThrough(hud);
}

TEST_F(LoopingViews, TwoInterfacesWhoseViewsShowEachOther) {
  StartSampleGame();
  const std::int32_t hud = InterfaceNamed(u"Hud");
  ASSERT_GE(hud, 0);
  const std::int32_t hudView = ViewField(hud);
  ASSERT_GE(hudView, 0);
  const std::int32_t inset = gameData.maps.Append();
  Map copy = gameData.maps[hud];
  copy.fileName = copy.fileName2 = u"Inset";
  gameData.maps[inset] = copy;
  gameData.maps[hud].fields[static_cast<std::size_t>(hudView)].view.ownMap = inset;
  gameData.maps[inset].fields[static_cast<std::size_t>(hudView)].view.ownMap = hud;
  gameData.maps[hud].overlayActive = 1;
  gameData.maps[inset].overlayActive = 1;
  SaveAndLoad();

  const std::int32_t loadedHud = InterfaceNamed(u"Hud");
  const std::int32_t loadedInset = InterfaceNamed(u"Inset");
  ASSERT_GE(loadedHud, 0);
  ASSERT_GE(loadedInset, 0);
  EXPECT_EQ(FieldViewMap(gameData.maps[loadedHud].fields[static_cast<std::size_t>(hudView)]), loadedInset);
  EXPECT_EQ(FieldViewMap(gameData.maps[loadedInset].fields[static_cast<std::size_t>(hudView)]), loadedHud);
  // Each view covers the whole screen from its corner (the HUD's design is
  // centred on the smaller screen), so that a pointer query finds the other
  // view under the same point at every depth.
  for (const std::int32_t face : {loadedHud, loadedInset}) {
    Field& view = gameData.maps[face].fields[static_cast<std::size_t>(hudView)];
    view.x = 0.0f, view.y = 0.0f;
    view.pixelWidth = view.previousPixelWidth = kWidth;
    view.pixelHeight = view.previousPixelHeight = kHeight;
    view.placementBytes[0] = view.placementBytes[1] = 0;
    view.anchorFlags = 0;
    FieldScreenRect rect;
    GetFieldScreenRect(view, 0, 0, kWidth, kHeight, rect);
    view.x = static_cast<float>(-rect.left), view.y = static_cast<float>(-rect.top);
  }
  DrawAndPickThrough(loadedHud);
  DrawAndPickThrough(loadedInset);
}

}  // namespace
}  // namespace kiv::test
