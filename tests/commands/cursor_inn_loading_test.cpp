// The pointer's commands over interfaces with view fields, the inn request
// and its interface, the loading screen's values and maps loaded by scripts.
#include <cmath>
#include <functional>
#include <string>

#include "commands/internal_executor.h"
#include "media/graphics.h"
#include "media/player_input_state.h"
#include "platform/gfx/d3dx.h"
#include "player/script_message_state.h"
#include "render/draw_helpers.h"
#include "render/field_camera.h"
#include "state/project_settings_block.h"
#include "support/recording_batcher.h"
#include "world/interface_fixture.h"

namespace kiv::test {
namespace {

// "<number> <message>" of the error the action raises, or "no error".
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const KivError& error) {
    return std::to_string(error.Number()) + " " + error.what();
  }
  return "no error";
}

constexpr char kNotPointing[] =
    "-1 Cursor is not currently pointing at a map. Check the value of \"Targeted Map\" use value first.";

// Map 0 is a shown interface on a 200 x 150 screen.
class CursorInnLoadingTest : public InterfaceTest {
 protected:
  void SetUp() override {
    InterfaceTest::SetUp();
    recorder_.backBufferWidth = 200;
    recorder_.backBufferHeight = 150;
    dataSettings.gameVideoWidth = 200;
    dataSettings.gameVideoHeight = 150;
    graphics.videoWidth = 200;
    graphics.videoHeight = 150;
    playerInputStates[0] = PlayerInputState();
    innRequest = InnRequest();
    storedProjectSettings.Reset();
    storedProjectSettings.inputPointerFlag = 0;  // geometric picking
    PushCallFrame(CallFrame(), kiv::Script());
  }
  void TearDown() override {
    dataSettings = DataSettings();
    graphics.videoWidth = 800;
    graphics.videoHeight = 600;
    playerInputStates[0] = PlayerInputState();
    innRequest = InnRequest();
    storedProjectSettings.Reset();
    shell.Reset();
    InterfaceTest::TearDown();
  }

  ScriptValue Call(const std::u16string& name, const std::vector<Variant>& arguments = {},
                   std::int16_t mode = kModeRead, const Variant& value = Variant()) {
    CallFrame& frame = TopFrame();
    frame.valueStack.clear();
    for (const Variant& argument : arguments)
      frame.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
    frame.valueStack.emplace_back();
    frame.stackBase = 0;
    frame.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
    ScriptValue object;
    ScriptValue result;
    ScriptRunInternal(SymbolIntern(name), object, static_cast<std::int32_t>(arguments.size()) - 1, result,
                      mode, value, true);
    return result;
  }
  Variant Read(const std::u16string& name, const std::vector<Variant>& arguments = {}) {
    return Call(name, arguments).value;
  }
  std::string Assign(const std::u16string& name, const Variant& value) {
    return ErrorOf([&] { Call(name, {}, kModeAssign, value); });
  }

  static std::int32_t AddWorld(const std::u16string& name) {
    const std::int32_t map = gameData.maps.Append();
    Map& m = gameData.maps[map];
    m.fileName = name;
    m.width = 19;
    m.height = 19;
    m.layerCount = 3;
    return map;
  }
  static std::int32_t AddView(std::int32_t interfaceMap, float x, float y, std::int32_t width,
                              std::int32_t height, std::int32_t shows) {
    const std::int32_t view = AddField(interfaceMap, x, y, 0);
    Field& v = F(interfaceMap, view);
    v.kind = 6;
    v.pixelWidth = width;
    v.pixelHeight = height;
    v.view.ownMap = shows;
    return view;
  }
  static void Pointer(std::int32_t x, std::int32_t y) {
    playerInputStates[0].cursorX = x;
    playerInputStates[0].cursorY = y;
  }
  // Where a point of the shown map appears through the view: screen x, y.
  static std::pair<double, double> ScreenOf(std::int32_t map, std::int32_t view, const gfx::Vector3& point) {
    Field& v = F(map, view);
    FieldScreenRect rect;
    GetFieldScreenRect(v, 0, 0, 200, 150, rect);
    std::int32_t width = rect.width, height = rect.height;
    FieldCamera camera;
    SetupFieldCamera(v, rect.left, rect.top, width, height, camera);
    const gfx::Matrix all =
        gfx::MatrixMultiply(gfx::MatrixMultiply(camera.world, camera.view), camera.projection);
    const gfx::Vector3 p = gfx::Vec3TransformCoord(point, all);
    return {camera.x + (p.x + 1.0) / 2.0 * camera.width, camera.y + (1.0 - p.y) / 2.0 * camera.height};
  }

  RecordingBatcher recorder_;
};

TEST_F(CursorInnLoadingTest, TheTargetMapIsUnderThePointerFrontToBack) {
  const std::int32_t town = AddWorld(u"Town");
  const std::int32_t cave = AddWorld(u"Cave");
  const std::int32_t sea = AddWorld(u"Sea");
  const std::int32_t left = AddView(0, 0, 0, 100, 150, town);
  AddView(0, 100, 0, 100, 150, cave);
  AddView(0, 50, 0, 100, 150, sea);  // overlaps both; later in field order
  // A second interface in front with a small view in the top-left corner.
  const std::int32_t front = AddInterface();
  gameData.maps[front].overlayActive = 1;
  gameData.maps[front].layerNumber = 1;
  const std::int32_t corner = AddView(front, 0, 0, 40, 30, sea);

  struct Case {
    std::int32_t x, y;
    const char16_t* map;
  };
  const Case cases[] = {
      {60, 100, u"Town"},                      // the first view in field order wins over the later one
      {150, 100, u"Cave"}, {10, 10, u"Sea"},   // the front interface wins
      {39, 29, u"Sea"},    {40, 29, u"Town"},  // right and bottom edges are outside
      {99, 149, u"Town"},  {200, 10, u""},    {-1, 10, u""},
  };
  for (const Case& c : cases) {
    Pointer(c.x, c.y);
    EXPECT_EQ(Read(u"Cursor.TargetMap"), Variant::Text(c.map)) << c.x << "," << c.y;
  }

  // Views that do not exist or are not drawn, and interfaces not shown, are passed over.
  Pointer(10, 10);
  F(front, corner).noDraw = 1;
  EXPECT_EQ(Read(u"Cursor.TargetMap"), Variant::Text(u"Town"));
  F(0, left).nonExistent = 1;
  EXPECT_EQ(Read(u"Cursor.TargetMap"), Variant::Text(u""));
  F(front, corner).noDraw = 0;
  gameData.maps[front].overlayActive = 0;
  EXPECT_EQ(Read(u"Cursor.TargetMap"), Variant::Text(u""));
  EXPECT_EQ(ErrorOf([&] { Read(u"Cursor.TargetXofZ", {Variant::Long(0)}); }), kNotPointing);
  EXPECT_EQ(ErrorOf([&] { Read(u"Cursor.TargetZofX", {Variant::Long(0)}); }), kNotPointing);
}

// The point each plane function gives lies on its plane and is seen exactly
// under the pointer, in every projection.
TEST_F(CursorInnLoadingTest, PlanePointsLieUnderThePointer) {
  const std::int32_t town = AddWorld(u"Town");
  const std::int32_t view = AddView(0, 0, 0, 200, 150, town);
  struct Plane {
    const char16_t* first;
    const char16_t* second;
    int axis;  // the plane's fixed axis: 0 x, 1 y, 2 z
  };
  const Plane planes[] = {
      {u"Cursor.TargetXofZ", u"Cursor.TargetYofZ", 2},
      {u"Cursor.TargetXofY", u"Cursor.TargetZofY", 1},
      {u"Cursor.TargetYofX", u"Cursor.TargetZofX", 0},
  };
  for (std::int32_t projection : {0, 1, 2}) {
    F(0, view).view.projection = projection;
    for (const auto& [x, y] : {std::pair{30, 40}, std::pair{120, 75}, std::pair{190, 140}}) {
      Pointer(x, y);
      for (const Plane& plane : planes) {
        for (const float v : {0.0f, 24.0f, 150.0f}) {
          SCOPED_TRACE(testing::Message() << "projection " << projection << " at " << x << "," << y << " "
                                          << Utf16ToUtf8(plane.first) << " " << v);
          const Variant a = Read(plane.first, {Variant::Single(v)});
          const Variant b = Read(plane.second, {Variant::Single(v)});
          ASSERT_EQ(a.Type(), kVarSingle);
          float coordinates[3];
          coordinates[plane.axis] = v;
          coordinates[plane.axis == 0 ? 1 : 0] = static_cast<float>(ToNumber(a));
          coordinates[plane.axis == 2 ? 1 : 2] = static_cast<float>(ToNumber(b));
          // A ray parallel to the plane meets it nowhere and gives 0: the
          // orthographic views look along one direction, which has no x part.
          if (projection != 1 && plane.axis == 0) {
            EXPECT_EQ(ToNumber(a), 0.0);
            EXPECT_EQ(ToNumber(b), 0.0);
            continue;
          }
          const auto [sx, sy] = ScreenOf(0, view, {coordinates[0], coordinates[1], coordinates[2]});
          EXPECT_NEAR(sx, x, 0.05);
          EXPECT_NEAR(sy, y, 0.05);
        }
      }
    }
  }
}

TEST_F(CursorInnLoadingTest, PointerValuesAndSprite) {
  gameData.spriteSets.resize(3);
  gameData.spriteSets[1].name = u"Effect Spark";
  gameData.spriteSets[2].name = u"Arrow";
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant reads;
  };
  const Case cases[] = {
      {u"Cursor.X", Variant::Long(12), Variant::Long(12)},
      {u"Cursor.Y", Variant::Double(7.5), Variant::Long(8)},
      {u"Cursor.DeltaX", Variant::Long(-3), Variant::Long(-3)},
      {u"Cursor.DeltaY", Variant::Long(4), Variant::Long(4)},
      {u"Cursor.DeltaZ", Variant::Long(120), Variant::Long(120)},
      {u"Cursor.Color", Variant::Long(0x7F00FF00), Variant::Long(0x7F00FF00)},
      {u"Cursor.Effect", Variant::Text(u"Spark"), Variant::Text(u"Spark")},
      {u"Cursor.Effect", Variant::Text(u""), Variant::Text(u"")},
      {u"Cursor.Sprite", Variant::Text(u"Arrow"), Variant::Text(u"Arrow")},
      {u"Cursor.Sprite", Variant::Text(u""), Variant::Text(u"")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Assign(c.name, c.assigned), "no error") << Utf16ToUtf8(c.name);
    EXPECT_EQ(Read(c.name), c.reads) << Utf16ToUtf8(c.name);
  }
  const PlayerInputState& pointer = playerInputStates[0];
  EXPECT_EQ(pointer.cursorX, 12);
  EXPECT_EQ(pointer.relativeX, -3);
  EXPECT_EQ(pointer.wheel, 120);
  EXPECT_EQ(pointer.cursorSprite, -1);
  Assign(u"Cursor.Effect", Variant::Text(u"Spark"));
  EXPECT_EQ(pointer.cursorSprite, 1);
  EXPECT_NE(Assign(u"Cursor.Effect", Variant::Text(u"Nothing")), "no error");
  EXPECT_NE(Assign(u"Cursor.Sprite", Variant::Text(u"Nothing")), "no error");
}

TEST_F(CursorInnLoadingTest, ActionButtonPressedByScript) {
  const std::int32_t field = AddField(0, 10, 10);
  Pointer(15, 15);
  Call(u"Cursor.ActionDown");
  EXPECT_EQ(playerInputStates[0].actionState, 1);
  EXPECT_EQ(std::make_tuple(playerInputStates[0].pressMap, playerInputStates[0].pressIndex),
            std::make_tuple(0, field));
  Call(u"Cursor.ActionUp");
  EXPECT_EQ(playerInputStates[0].actionState, -1);
}

TEST_F(CursorInnLoadingTest, InnShowFillsTheRequestFirst) {
  innRequest.transaction = 1;
  innRequest.done = 1;
  innRequest.music = u"Old";
  storedProjectSettings.interfaces[kInnInterface].index = -1;
  const std::vector<Variant> six{Variant::Text(u"Welcome"), Variant::Double(12.5),
                                 Variant::Text(u"Stay"),    Variant::Text(u"Leave"),
                                 Variant::Text(u"Night"),   Variant::Text(u"Too poor")};
  EXPECT_EQ(ErrorOf([&] { Call(u"Inn.Show", six); }),
            "-1 You need to have an Inn interface in order to use this.");
  EXPECT_EQ(innRequest.transaction, 0);
  EXPECT_EQ(innRequest.done, 0);
  EXPECT_EQ(innRequest.greeting, u"Welcome");
  EXPECT_EQ(innRequest.price, 125000);
  EXPECT_EQ(innRequest.yes, u"Stay");
  EXPECT_EQ(innRequest.no, u"Leave");
  EXPECT_EQ(innRequest.night, u"Night");
  EXPECT_EQ(innRequest.poor, u"Too poor");
  EXPECT_EQ(innRequest.music, u"");

  const std::int32_t inn = AddInterface();
  storedProjectSettings.interfaces[kInnInterface].index = inn;
  std::vector<Variant> seven = six;
  seven.push_back(Variant::Text(u"Lullaby"));
  const ScriptValue result = Call(u"Inn.Show", seven);
  EXPECT_EQ(innRequest.music, u"Lullaby");
  EXPECT_EQ(projectState.currentPlayerInterface.index, inn);
  EXPECT_EQ(gameData.maps[inn].overlayActive, 1);
  ASSERT_EQ(result.kind, kValueControl);
  EXPECT_EQ(result.value.Elements().at(kWaitRequestFlags), Variant::Long(kWaitInnClosed));
  EXPECT_EQ(result.value.Elements().at(kWaitRequestTime), Variant::Long(0));

  // A price beyond the Currency range overflows.
  EXPECT_EQ(ErrorOf([&] {
              Call(u"Inn.Show", {Variant::Text(u""), Variant::Double(1e15), Variant::Text(u""),
                                 Variant::Text(u""), Variant::Text(u""), Variant::Text(u"")});
            }).substr(0, 2),
            "6 ");
}

TEST_F(CursorInnLoadingTest, InnProperties) {
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant reads;
  };
  const Case cases[] = {
      {u"Inn.Transaction", Variant::Text(u"True"), Variant::Byte(1)},
      {u"Inn.Done", Variant::Long(0), Variant::Byte(0)},
      {u"Inn.Greeting", Variant::Long(5), Variant::Text(u"5")},
      {u"Inn.Price", Variant::Double(3.25), Variant::CurrencyScaled(32500)},
      {u"Inn.Yes", Variant::Text(u"Y"), Variant::Text(u"Y")},
      {u"Inn.No", Variant::Text(u"N"), Variant::Text(u"N")},
      {u"Inn.Night", Variant::Text(u"Zz"), Variant::Text(u"Zz")},
      {u"Inn.Poor", Variant::Text(u"No coin"), Variant::Text(u"No coin")},
      {u"Inn.Music", Variant::Text(u"Song"), Variant::Text(u"Song")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Assign(c.name, c.assigned), "no error") << Utf16ToUtf8(c.name);
    EXPECT_EQ(Read(c.name), c.reads) << Utf16ToUtf8(c.name);
  }
}

TEST_F(CursorInnLoadingTest, LoadingValues) {
  struct Case {
    float progress;
    std::int32_t percent;
  };
  const Case cases[] = {{0.125f, 12}, {0.126f, 13}, {0.375f, 38}, {0.0f, 0}, {1.0f, 100}};
  for (const Case& c : cases) {
    shell.loadingProgress = c.progress;
    EXPECT_EQ(Read(u"Loading.Progress100"), Variant::Long(c.percent)) << c.progress;
    EXPECT_EQ(Read(u"Loading.Progress"), Variant::Double(c.progress)) << c.progress;
  }
  shell.loadingText = "Loading map...";
  gameData.loadingMapName = u"Town";
  EXPECT_EQ(Read(u"Loading.Task"), Variant::Text(u"Loading map..."));
  EXPECT_EQ(Read(u"Loading.Map"), Variant::Text(u"Town"));
  gameData.loadingMapName.clear();
  // Read-only: an assignment changes nothing.
  Assign(u"Loading.Progress100", Variant::Long(50));
  EXPECT_EQ(shell.loadingProgress, 1.0f);
}

TEST_F(CursorInnLoadingTest, LoadMapMarksTheMapForPreparationOnLoad) {
  const std::int32_t town = AddWorld(u"Town");
  dataHooks.GenerateMapData = [](std::int32_t, bool) {};
  EXPECT_EQ(ErrorOf([&] { Call(u"LoadMap", {Variant::Text(u"Town")}); }), "no error");
  EXPECT_TRUE(gameData.maps[town].loadFlag);
  const std::int32_t cave = AddWorld(u"Cave");
  EXPECT_EQ(ErrorOf([&] { Call(u"LoadMap", {Variant::Text(u"Cave"), Variant::Long(0)}); }), "no error");
  EXPECT_TRUE(gameData.maps[cave].loadFlag);
}

}  // namespace
}  // namespace kiv::test
