// Camera-view names in running scripts: "Screen." names reach the view of
// the shown interface, and a script waiting on a pan resumes once it ends.
#include "commands/field_view_executor.h"
#include "internal_commands_fixture.h"
#include "render/field_camera.h"
#include "world/view_timers.h"

namespace kiv::test {
namespace {

class ViewScriptsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    InstallFieldViewProperties();
    viewScroll.Reset();
    Map& town = gameData.maps[0];
    town.fileName = u"Town";
    town.width = 19;
    town.height = 14;
    hud_ = gameData.maps.Append();
    Map& hud = gameData.maps[hud_];
    hud.fileName = u"Hud";
    hud.isInterface = true;
    hud.overlayActive = 1;
    hud.fields.emplace_back().kind = 0;
    hud.fields.emplace_back().kind = 6;
    hud.fields.back().name = u"Camera";
    hud.fields.back().view.ownMap = 0;
  }

  void TearDown() override {
    viewScroll.Reset();
    InternalCommandsTest::TearDown();
  }

  FieldView& View() { return gameData.maps[hud_].fields[1].view; }

  std::int32_t hud_ = -1;
};

TEST_F(ViewScriptsTest, AScriptWaitingOnAPanResumesOnceThePanHasEnded) {
  constexpr std::int32_t kEvent = 600;  // an event without conditions
  const std::int32_t owner =
      AddActor(kEvent, u"Screen.Pan(\"Town\", 40, 50, 300)\r\nScreen.WaitPan\r\nMark(Screen.Disable)");
  Raise(owner);
  EXPECT_EQ(View().panTargetX, 40);
  EXPECT_EQ(View().panTargetY, 50);
  EXPECT_TRUE(Marks().empty());
  Tick(16);
  EXPECT_TRUE(Marks().empty());
  AdvanceViewTimers(View(), 299);
  Tick(16);
  EXPECT_TRUE(Marks().empty());
  AdvanceViewTimers(View(), 1);
  Tick(16);
  EXPECT_EQ(Marks(), std::vector<Variant>{Variant::Byte(1)});
}

TEST_F(ViewScriptsTest, TheCameraPositionIsAssignedAndReadThroughScreenNames) {
  EXPECT_EQ(RunScript(u"SET Screen.X = 120\r\nSET Screen.Y = Screen.X + 5\r\nReturn(Screen.Y)"), Variant::Long(125));
  EXPECT_EQ(viewScroll.scrollPixelX, 120);
  EXPECT_EQ(viewScroll.scrollPixelY, 125);
  EXPECT_EQ(ErrorOfScript(u"Screen.Flash(-1, 0, 100)"), "You cannot have a flash count less than 1.");
}

}  // namespace
}  // namespace kiv::test
