// The identifiers of a camera view (kind 33): the view field on the Hud shows
// Town, following Bob.
#include <bit>

#include "field_view_fixture.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "render/render_setup.h"
#include "script/waits.h"
#include "world/view_timers.h"

namespace kiv::test {
namespace {

class ViewPropertiesTest : public FieldViewFixture {
 protected:
  void SetUp() override {
    FieldViewFixture::SetUp();
    InstallRenderViewHooks();
    AddHudField(u"Title", 0);
    view_ = AddHudField(u"Camera", 6);
    other_ = AddHudField(u"Minimap", 6);
    bob_ = AddActor(kTown, u"Character Bob");
    cart_ = AddActor(kTown, u"Vehicle Cart");
    Actor& bob = gameData.maps[kTown].actors[static_cast<std::size_t>(bob_)];
    bob.x = 100.4f;
    bob.y = 199.6f;
    bob.z = 8.0f;
    View().ownMap = kTown;
    View().followedCharacter = bob_;
  }

  FieldView& View() { return FieldAt(kHud, view_).view; }
  std::vector<FieldRuntimeEntry>& Sprites() { return FieldAt(kHud, view_).runtimeEntries; }

  std::int32_t view_ = -1, other_ = -1, bob_ = -1, cart_ = -1;
};

TEST_F(ViewPropertiesTest, TheCameraPositionIsSharedByAllViews) {
  const auto width = static_cast<std::int32_t>(GraphicsBackBufferWidth());
  const auto height = static_cast<std::int32_t>(GraphicsBackBufferHeight());
  Assign(ViewRef(view_), u"X", L(100));
  Assign(ViewRef(view_), u"Y", L(-20));
  Assign(ViewRef(view_), u"Z", L(7));
  EXPECT_EQ(Read(ViewRef(other_), u"X"), L(100));
  EXPECT_EQ(Read(ViewRef(other_), u"Y"), L(-20));
  EXPECT_EQ(Read(ViewRef(other_), u"Z"), L(7));
  EXPECT_EQ(Read(ViewRef(view_), u"X2"), L(100 + width));
  EXPECT_EQ(Read(ViewRef(view_), u"Y2"), L(-20 + height));
  EXPECT_EQ(Read(ViewRef(view_), u"Z2"), L(7 + height));  // the depth runs up the screen
  Assign(ViewRef(view_), u"X2", L(1000));
  Assign(ViewRef(view_), u"Z2", L(1000));
  EXPECT_EQ(viewScroll.scrollPixelX, 1000 - width);
  EXPECT_EQ(viewScroll.scrollPixelZ, 1000 - height);
}

TEST_F(ViewPropertiesTest, AFadeCarriesTheVisibleProgressOfTheOneUnderWay) {
  struct Case {
    const char* what;
    std::uint8_t state;
    std::int32_t elapsed, duration;
    const char16_t* command;
    std::int32_t newDuration;
    std::uint8_t stateAfter;
    std::int32_t elapsedAfter, durationAfter;
  };
  const Case cases[] = {
      {"show with nothing under way", 0, 0, 0, u"Show", 400, 2, 0, 400},
      {"show during a show", 2, 300, 1000, u"Show", 2000, 2, 600, 2000},
      {"show during a hide at three quarters", 1, 750, 1000, u"Show", 2000, 2, 500, 2000},
      {"hide during a hide", 1, 250, 1000, u"Hide", 2000, 1, 500, 2000},
      {"hide during a show", 2, 250, 1000, u"Hide2", 2000, 1, 1500, 2000},
      {"hide after a finished show", 0, 1000, 1000, u"Hide", 400, 1, 0, 400},
      {"hide of no time", 1, 500, 1000, u"Hide", 0, 1, 1, 1},
      {"hide2 of no time", 0, 0, 0, u"Hide2", 0, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    View().transitionMode = c.state;
    View().transitionElapsed = c.elapsed;
    View().transitionDuration = c.duration;
    if (std::u16string(c.command) == u"Show") {
      Do(ViewRef(view_), c.command, {T(u"instant"), L(c.newDuration)});
      EXPECT_EQ(View().transitionKind, -3);
    } else {
      Do(ViewRef(view_), c.command, {T(u"normal"), L(0x112233), L(c.newDuration)});
      EXPECT_EQ(View().transitionKind, -4);
    }
    EXPECT_EQ(View().transitionMode, c.stateAfter);
    EXPECT_EQ(View().transitionElapsed, c.elapsedAfter);
    EXPECT_EQ(View().transitionDuration, c.durationAfter);
  }
}

TEST_F(ViewPropertiesTest, HideForcesAnOpaqueColourHide2KeepsItsAlpha) {
  Do(ViewRef(view_), u"Hide", {T(u"normal"), L(0x00112233), L(100)});
  EXPECT_EQ(View().transitionColor, 0xFF112233u);
  Do(ViewRef(view_), u"Hide2", {T(u"normal"), L(0x40112233), L(100)});
  EXPECT_EQ(View().transitionColor, 0x40112233u);
}

TEST_F(ViewPropertiesTest, FlashesAndShakesAreCountedOrContinuous) {
  Do(ViewRef(view_), u"Flash", {L(-1), L(3), L(200)});
  EXPECT_EQ(View().flashColor, 0xFFFFFFFFu);
  EXPECT_EQ(View().flashCount, 3);
  EXPECT_EQ(View().flashDuration, 200);
  EXPECT_EQ(View().flashRepeat, 0);
  View().flashElapsed = 50;
  Do(ViewRef(view_), u"FlashStart", {L(0x00FF00), L(300)});
  EXPECT_EQ(View().flashCount, 1);
  EXPECT_EQ(View().flashElapsed, 0);
  EXPECT_EQ(View().flashRepeat, 1);
  Do(ViewRef(view_), u"FlashStop");
  EXPECT_EQ(View().flashDuration, 0);

  Do(ViewRef(view_), u"Shake", {Variant::Double(1.5), L(6), L(2), L(250)});
  EXPECT_EQ(View().shakeAngle, 1.5f);
  EXPECT_EQ(View().shakeAmplitude, 6);
  EXPECT_EQ(View().shakeCount, 2);
  EXPECT_EQ(View().shakeDuration, 250);
  EXPECT_EQ(View().shakeRepeat, 0);
  Do(ViewRef(view_), u"ShakeStart", {L(0), L(4), L(100)});
  EXPECT_EQ(View().shakeCount, 1);
  EXPECT_EQ(View().shakeRepeat, 1);
  Do(ViewRef(view_), u"ShakeStop");
  EXPECT_EQ(View().shakeDuration, 0);
}

TEST_F(ViewPropertiesTest, CountsBelowOneRaiseAndChangeNothing) {
  View().flashDuration = 77;
  View().shakeDuration = 88;
  for (const std::int32_t count : {0, -1}) {
    EXPECT_EQ(ErrorOf([&] { Do(ViewRef(view_), u"Flash", {L(1), L(count), L(5)}); }),
              "-1 You cannot have a flash count less than 1.");
    EXPECT_EQ(ErrorOf([&] { Do(ViewRef(view_), u"Shake", {L(0), L(3), L(count), L(5)}); }),
              "-1 You cannot have a shake count less than 1.");
  }
  EXPECT_EQ(View().flashDuration, 77);
  EXPECT_EQ(View().shakeDuration, 88);
}

TEST_F(ViewPropertiesTest, PansStartAtTheFocusAndAnotherMapDropsTheFollowedActor) {
  struct Case {
    const char* what;
    const char16_t* command;
    std::vector<Variant> arguments;
    std::int32_t ownMap, followed;
    std::int32_t endX, endY, endZ, duration;
  };
  const Case cases[] = {
      {"pan over the shown map", u"Pan", {T(u"Town"), L(50), L(60), L(1000)}, kTown, 0, 50, 60, 8, 1000},
      {"pan to another map", u"Pan", {T(u"Cave"), L(50), L(60), L(1000)}, kCave, -1, 50, 60, 8, 1000},
      {"pan2 to another map", u"Pan2", {T(u"Forest"), L(1), L(2), L(3), L(400)}, kForest, -1, 1, 2, 3, 400},
      {"pan back to the player", u"PanReturn", {L(300)}, -1, -1, kPanBack, kPanBack, kPanBack, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    View() = FieldView();
    View().ownMap = kTown;
    View().followedCharacter = bob_;
    View().panElapsed = 99;
    Do(ViewRef(view_), c.command, c.arguments);
    EXPECT_EQ(View().ownMap, c.ownMap);
    EXPECT_EQ(View().followedCharacter, c.followed);
    EXPECT_EQ(View().panning, 1);
    EXPECT_EQ(View().panStartX, 100);
    EXPECT_EQ(View().panStartY, 200);
    EXPECT_EQ(View().panStartZ, 8);
    EXPECT_EQ(View().panTargetX, c.endX);
    EXPECT_EQ(View().panTargetY, c.endY);
    EXPECT_EQ(View().panTargetZ, c.endZ);
    EXPECT_EQ(View().panElapsed, 0);
    EXPECT_EQ(View().panDuration, c.duration);
  }
}

TEST_F(ViewPropertiesTest, WaitPanAsksToWaitUntilThePanHasEnded) {
  const ScriptValue result = Do(ViewRef(view_), u"WaitPan");
  EXPECT_EQ(result.kind, kValueControl);
  EXPECT_EQ(result.value, ScriptMakeWaitRequest(1, 0, -1, 0, kHud, Variant::Long(-1), -1, view_, -1));

  EXPECT_TRUE(triggerHooks.FieldAtTarget(kHud, view_)) << "no pan under way";
  Do(ViewRef(view_), u"Pan", {T(u"Town"), L(50), L(60), L(1000)});
  EXPECT_FALSE(triggerHooks.FieldAtTarget(kHud, view_));
  AdvanceViewTimers(View(), 999);
  EXPECT_FALSE(triggerHooks.FieldAtTarget(kHud, view_));
  AdvanceViewTimers(View(), 1);
  EXPECT_TRUE(triggerHooks.FieldAtTarget(kHud, view_));
  EXPECT_TRUE(triggerHooks.FieldAtTarget(kHud, 55)) << "a field that is gone holds no script";
}

TEST_F(ViewPropertiesTest, DisableHoldsTheCameraWhereItLooks) {
  View().flashElapsed = 40;
  Assign(ViewRef(view_), u"Disable", T(u"true"));
  EXPECT_EQ(View().panning, 1);
  EXPECT_EQ(View().panTargetX, 100);
  EXPECT_EQ(View().panTargetY, 200);
  EXPECT_EQ(View().panTargetZ, 8);
  EXPECT_EQ(View().panDuration, 0);
  EXPECT_EQ(View().flashElapsed, 0);
  EXPECT_EQ(Read(ViewRef(view_), u"Disable"), Variant::Byte(1));

  View().panTargetX = 5;  // fixed already: nothing changes
  Assign(ViewRef(view_), u"Disable", L(1));
  EXPECT_EQ(View().panTargetX, 5);
  Assign(ViewRef(view_), u"Disable", L(0));
  EXPECT_EQ(View().panning, 0);
}

TEST_F(ViewPropertiesTest, FocusAssignmentsResolveReleaseTheCameraAndRefreshTheShownMaps) {
  struct Case {
    const char16_t* identifier;
    const char16_t* text;
    std::int32_t ownMap, followed;
  };
  const Case cases[] = {
      {u"FocusActor", u"Vehicle Cart", kTown, 1},
      {u"FocusChar", u"Bob", kTown, 0},
      {u"FocusVehicle", u"Cart", kTown, 1},
      {u"FocusChar", u"", -1, -1},
      {u"FocusMap", u"Forest", kForest, -1},
      {u"FocusMap", u"", -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.identifier) + " = " + Utf16ToUtf8(c.text));
    View().panning = 1;
    View().followedCharacter = 0;
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) gameData.maps[m].shownNow = 0;
    Assign(ViewRef(view_), c.identifier, T(c.text));
    EXPECT_EQ(View().ownMap, c.ownMap);
    EXPECT_EQ(View().followedCharacter, c.followed);
    EXPECT_EQ(View().panning, 0);
    if (c.ownMap >= 0) {
      EXPECT_EQ(gameData.maps[c.ownMap].shownNow, 1);
    }
  }
}

TEST_F(ViewPropertiesTest, FocusReadsNameTheFollowedActorAndItsMap) {
  EXPECT_EQ(Read(ViewRef(view_), u"FocusActor"), T(u"|Town:Character Bob"));
  EXPECT_EQ(Read(ViewRef(view_), u"FocusChar"), T(u"Bob"));
  EXPECT_EQ(Read(ViewRef(view_), u"FocusMap"), T(u"Town"));
  EXPECT_NE(ErrorOf([&] { Read(ViewRef(view_), u"FocusVehicle"); }), "no error");
  View().followedCharacter = cart_;
  EXPECT_EQ(Read(ViewRef(view_), u"FocusVehicle"), T(u"Cart"));
  EXPECT_EQ(ErrorOf([&] { Read(ViewRef(view_), u"FocusChar"); }).rfind("-1 ", 0), 0u);
  View().followedCharacter = -1;
  EXPECT_EQ(Read(ViewRef(view_), u"FocusActor"), T(u""));
  EXPECT_EQ(Read(ViewRef(view_), u"FocusChar"), T(u""));
  View().ownMap = -1;
  EXPECT_EQ(Read(ViewRef(view_), u"FocusMap"), T(u""));
}

TEST_F(ViewPropertiesTest, ShowSpriteKeepsOneEntryPerSpriteWithTheFirstValues) {
  Do(ViewRef(view_), u"ShowSprite", {T(u"Moon"), L(1), L(2), Variant::Double(0.5), L(-1), L(-16777216), L(500)});
  Do(ViewRef(view_), u"ShowSprite", {T(u"Moon"), L(9), L(9), L(9), L(9), L(0), L(0)});
  ASSERT_EQ(Sprites().size(), 1u);
  const FieldRuntimeEntry& entry = Sprites()[0];
  EXPECT_EQ(entry.values[0], 1);
  EXPECT_EQ(std::bit_cast<float>(entry.values[1]), 1.0f);
  EXPECT_EQ(std::bit_cast<float>(entry.values[2]), 2.0f);
  EXPECT_EQ(std::bit_cast<float>(entry.values[3]), 0.5f);
  EXPECT_EQ(std::bit_cast<float>(entry.values[4]), -1.0f);
  EXPECT_EQ(entry.values[5], -16777216);
  EXPECT_EQ(entry.values[6], 0);    // clock
  EXPECT_EQ(entry.values[7], 500);  // fade-in end
  EXPECT_EQ(entry.values[8], -1);   // not hiding
  Do(ViewRef(view_), u"ShowSprite", {T(u"Star"), L(0), L(0), L(0), L(0), L(0), L(0)});
  EXPECT_EQ(Sprites().size(), 2u);
}

TEST_F(ViewPropertiesTest, HideSpriteFreezesAFadeInAndShortensTheHideInProportion) {
  constexpr std::uint32_t kColour = 0xFF804020u;
  struct Case {
    const char* what;
    std::int32_t elapsed, appearEnd;
    std::uint32_t colourAfter;
    std::int32_t appearEndAfter;
  };
  const Case cases[] = {
      {"a quarter into the fade-in", 250, 1000, ColorLerp(kColour & 0x00FFFFFFu, kColour, 0.25f), 250 + 300},
      {"after the fade-in", 1200, 1000, kColour, 1200 + 400},
      {"a fade-in of no length", 0, 0, kColour, 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sprites().clear();
    Do(ViewRef(view_), u"ShowSprite", {T(u"Star"), L(0), L(0), L(0), L(0), L(static_cast<std::int32_t>(kColour)), L(c.appearEnd)});
    Sprites()[0].values[6] = c.elapsed;
    Do(ViewRef(view_), u"HideSprite", {T(u"Moon"), L(400)});  // not shown: nothing
    EXPECT_EQ(Sprites()[0].values[8], -1);
    Do(ViewRef(view_), u"HideSprite", {T(u"Star"), L(400)});
    EXPECT_EQ(static_cast<std::uint32_t>(Sprites()[0].values[5]), c.colourAfter);
    EXPECT_EQ(Sprites()[0].values[8], c.elapsed);
    EXPECT_EQ(Sprites()[0].values[7], c.appearEndAfter);
  }
}

TEST_F(ViewPropertiesTest, ViewSetsTheScreenView) {
  Do(ViewRef(view_), u"View", {T(u"top")});
  EXPECT_EQ(View().screenView, 1);
  EXPECT_NE(ErrorOf([&] { Do(ViewRef(view_), u"View", {T(u"sideways")}); }), "no error");
}

TEST_F(ViewPropertiesTest, CameraNamesWithoutAnEffectDoNothing) {
  const FieldView before = View();
  for (const char16_t* name :
       {u"Perspective", u"FrontSprites", u"Distance", u"Range", u"Angle", u"Orbit", u"Roll", u"Name"}) {
    SCOPED_TRACE(Utf16ToUtf8(name));
    EXPECT_TRUE(Read(ViewRef(view_), name).IsEmpty());
    Assign(ViewRef(view_), name, L(3));
  }
  EXPECT_EQ(View().distance, before.distance);
  EXPECT_EQ(View().roll, before.roll);
  EXPECT_EQ(View().frontSprites, before.frontSprites);
  EXPECT_EQ(FieldAt(kHud, view_).name, u"Camera");
}

TEST_F(ViewPropertiesTest, OtherKindsAndStaleViewsAreRefused) {
  EXPECT_EQ(ErrorOf([&] { Read(Ref(kObjectCharacter, bob_, kTown), u"X"); }), "-1 Invalid object type.");
  EXPECT_EQ(ErrorOf([&] { Do(ViewRef(9), u"FlashStop"); }).rfind("9 ", 0), 0u);
}

}  // namespace
}  // namespace kiv::test
