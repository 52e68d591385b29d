// Direction, motion controls, velocities, physics and vehicle controls of
// actors, with the project options that govern jumping.
#include <numbers>
#include <string>

#include "actor_properties_fixture.h"
#include "core/angles.h"
#include "script/script_value_ops.h"
#include "state/project_settings_block.h"

namespace kiv::test {
namespace {

constexpr std::size_t kAllowJumpWhenImmobile = 14;
constexpr std::size_t kRestrictVerticalVelocity = 27;
constexpr std::size_t kWholeAxisValues = 28;

class ActorMotionTest : public ActorPropertiesTest {
 protected:
  void SetUp() override {
    ActorPropertiesTest::SetUp();
    storedProjectSettings.Reset();
    bob_ = AddNamed(u"Character Bob", 100, 100, 0);
    ann_ = AddNamed(u"Character Ann", 100, 200, 50);
    cart_ = AddNamed(u"Vehicle Cart", 0, 0, 0);
  }
  void TearDown() override {
    storedProjectSettings.Reset();
    ActorPropertiesTest::TearDown();
  }
  static void SetOption(std::size_t number, bool on) { storedProjectSettings.flags[number - 1] = on ? -1 : 0; }

  std::int32_t bob_ = 0, ann_ = 0, cart_ = 0;
};

Variant T(const char16_t* text) { return Variant::Text(text); }
Variant L(std::int32_t n) { return Variant::Long(n); }
Variant S(float f) { return Variant::Single(f); }

TEST_F(ActorMotionTest, DirectionWordsFollowTheSectorsOfTheHeading) {
  const float pi = std::numbers::pi_v<float>;
  // Every sector's middle and both of its boundaries give AngleToDirection's word.
  const char* const words[] = {"Left", "LeftUp", "Up", "RightUp", "Right", "RightDown", "Down", "LeftDown"};
  for (int k = -8; k <= 8; ++k) {
    for (const float heading : {k * pi / 8, k * pi / 8 + 0.01f, k * pi / 8 - 0.01f}) {
      At(bob_).heading = heading;
      EXPECT_EQ(Utf16ToUtf8(VarToText(Read(kObjectCharacter, bob_, u"Direction"))),
                words[AngleToDirection(heading)])
          << heading;
    }
  }
  struct Fixed {
    float heading;
    const char* word;
  };
  for (const Fixed& c : {Fixed{0, "Right"}, Fixed{pi / 2, "Down"}, Fixed{-pi / 2, "Up"}, Fixed{pi, "Left"},
                         Fixed{-pi / 4, "RightUp"}, Fixed{3 * pi / 4, "LeftDown"}}) {
    At(bob_).heading = c.heading;
    EXPECT_EQ(Utf16ToUtf8(VarToText(Read(kObjectCharacter, bob_, u"Direction"))), c.word) << c.heading;
  }
  // Assigned a word or a number; vehicles and turrets read the angle.
  Assign(kObjectCharacter, bob_, u"Direction", T(u"Down"));
  EXPECT_FLOAT_EQ(At(bob_).heading, pi / 2);
  At(cart_).heading = 1.25f;
  EXPECT_EQ(Read(kObjectVehicle, cart_, u"Direction"), S(1.25f));
  Assign(kObjectTurret, cart_, u"Direction", Variant::Double(9.5));
  EXPECT_EQ(At(cart_).heading, 9.5f);
}

TEST_F(ActorMotionTest, FacingTurnsAboutTheAxisNamed) {
  On(kObjectCharacter, bob_, u"FaceActor", {T(u"Ann"), T(u"z")});
  EXPECT_FLOAT_EQ(At(bob_).heading, AngleBetweenPoints(100, 100, 100, 200));
  On(kObjectCharacter, bob_, u"FaceLocation", {L(200), L(100), L(100), T(u"y")});
  EXPECT_FLOAT_EQ(At(bob_).rotationY, AngleBetweenPoints(100, 0, 200, 100));
  EXPECT_FLOAT_EQ(At(bob_).heading, AngleBetweenPoints(100, 100, 100, 200));
  EXPECT_EQ(Raised([&] { On(kObjectCharacter, bob_, u"FaceActor", {T(u"Nobody"), T(u"z")}); }).rfind("-1 ", 0), 0u);
}

TEST_F(ActorMotionTest, AxisControlsAndTheirScriptedFlags) {
  Actor& a = At(bob_);
  a.movementFlags = {0, 0, 0};
  struct Case {
    const char16_t* name;
    Variant assigned;
    float Actor::*field;
    float stored;
  };
  const Case cases[] = {
      {u"Movement", Variant::Double(0.5), &Actor::keyForward, 0.5f},
      {u"Accelerating", L(3), &Actor::keyForward, 1.0f},
      {u"Strafing", L(-4), &Actor::keyStrafing, -1.0f},
      {u"Rising", Variant::Double(0.25), &Actor::keyRising, 0.25f},
      {u"MovementX", Variant::Double(0.75), &Actor::movementX, 0.75f},
      {u"MovementY", L(-1), &Actor::movementY, -1.0f},
      {u"MovementZ", Variant::Double(0.5), &Actor::movementZ, 0.5f},
  };
  for (const Case& c : cases) {
    Assign(kObjectCharacter, bob_, c.name, c.assigned);
    EXPECT_EQ(At(bob_).*c.field, c.stored) << Utf16ToUtf8(c.name);
    EXPECT_EQ(Read(kObjectCharacter, bob_, c.name), S(c.stored)) << Utf16ToUtf8(c.name);
  }
  EXPECT_EQ(At(bob_).movementFlags, (std::array<std::uint8_t, 3>{1, 1, 1}));
  Assign(kObjectCharacter, bob_, u"VelocityX", Variant::Double(0.5));
  Assign(kObjectCharacter, bob_, u"VelocityY", L(-2));
  EXPECT_EQ(At(bob_).velocityX, 0.5f);
  EXPECT_EQ(At(bob_).velocityY, -2.0f);
  EXPECT_EQ(At(bob_).movementFlags, (std::array<std::uint8_t, 3>{0, 0, 1}));

  // Turning keeps the whole number as its key.
  Assign(kObjectCharacter, bob_, u"Turning", Variant::Double(-0.6));
  EXPECT_EQ(At(bob_).keyTurning, -0.6f);
  EXPECT_EQ(At(bob_).turningKey, -1);
  // Whole axis values read back as Longs.
  SetOption(kWholeAxisValues, true);
  Assign(kObjectCharacter, bob_, u"Movement", Variant::Double(0.7));
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Movement"), L(1));
}

TEST_F(ActorMotionTest, ChangeKeyMoveSetsForwardTurnAndRise) {
  Actor& a = At(bob_);
  a.keyTurning = 0.5f;
  a.turningKey = 1;
  a.keyRising = 0.5f;
  On(kObjectCharacter, bob_, u"ChangeKeyMove", {L(1)});
  EXPECT_EQ(At(bob_).keyForward, 1.0f);
  EXPECT_EQ(At(bob_).keyTurning, 0.0f);
  EXPECT_EQ(At(bob_).turningKey, 0);
  EXPECT_EQ(At(bob_).keyRising, 0.0f);
  At(bob_).keyRising = 0.5f;
  On(kObjectCharacter, bob_, u"ChangeKeyMove", {L(0), Variant::Double(-0.75)});
  EXPECT_EQ(At(bob_).keyTurning, -0.75f);
  EXPECT_EQ(At(bob_).turningKey, -1);
  EXPECT_EQ(At(bob_).keyRising, 0.5f);
  On(kObjectCharacter, bob_, u"ChangeKeyMove", {L(0), L(0), Variant::Double(-0.25)});
  EXPECT_EQ(At(bob_).keyRising, -0.25f);
}

TEST_F(ActorMotionTest, JumpingAndVerticalVelocityFollowTheOptions) {
  struct Case {
    bool canMove, allowJump, restrict;
    bool jumps;       // Jump gives velocity z 0.36
    bool takesSpeed;  // VelocityZ = 0.2 is stored
    bool airborneByVelocity;
  };
  const Case cases[] = {
      {true, false, false, true, true, false},  {false, false, false, false, true, false},
      {false, true, false, true, true, false},  {false, false, true, false, false, false},
      {false, true, true, true, true, true},    {true, false, true, true, true, true},
  };
  for (const Case& c : cases) {
    SetOption(kAllowJumpWhenImmobile, c.allowJump);
    SetOption(kRestrictVerticalVelocity, c.restrict);
    Actor& a = At(bob_);
    a.canMove = c.canMove ? 1 : 0;
    a.velocityZ = 0;
    a.airborne = 0;
    a.movementFlags = {1, 1, 1};
    On(kObjectCharacter, bob_, u"Jump");
    EXPECT_EQ(At(bob_).velocityZ, c.jumps ? 0.36f : 0.0f) << c.canMove << c.allowJump << c.restrict;
    EXPECT_EQ(At(bob_).airborne, c.jumps ? 1 : 0);
    EXPECT_EQ(At(bob_).movementFlags[2], c.jumps ? 0 : 1);

    At(bob_).velocityZ = 0;
    At(bob_).airborne = 0;
    At(bob_).movementFlags = {1, 1, 1};
    Assign(kObjectCharacter, bob_, u"VelocityZ", Variant::Double(0.2));
    EXPECT_EQ(At(bob_).velocityZ, c.takesSpeed ? 0.2f : 0.0f) << c.canMove << c.allowJump << c.restrict;
    EXPECT_EQ(At(bob_).movementFlags[2], c.takesSpeed ? 0 : 1);
    EXPECT_EQ(At(bob_).airborne, c.airborneByVelocity ? 1 : 0);
  }
}

TEST_F(ActorMotionTest, PhysicsBitsAndVehicleType) {
  At(cart_).physicsFlags = 75;
  On(kObjectVehicle, cart_, u"SetVehicleType");
  EXPECT_EQ(At(cart_).physicsFlags, 64);
  On(kObjectVehicle, cart_, u"SetVehicleType", {T(u"land"), T(u"water")});
  EXPECT_EQ(At(cart_).physicsFlags, 64 | 1 | 2);
  EXPECT_EQ(Read(kObjectVehicle, cart_, u"Physics", {T(u"water")}), L(1));
  EXPECT_EQ(Read(kObjectVehicle, cart_, u"Physics", {T(u"fly")}), L(0));
  Assign(kObjectVehicle, cart_, u"Physics", T(u"yes"), {T(u"fly")});
  Assign(kObjectVehicle, cart_, u"Physics", L(0), {T(u"land")});
  EXPECT_EQ(At(cart_).physicsFlags, 64 | 2 | 4);
  EXPECT_EQ(Raised([&] { On(kObjectVehicle, cart_, u"SetVehicleType", {T(u"rocket")}); }).rfind("-1 ", 0), 0u);
  EXPECT_EQ(At(cart_).physicsFlags, 64 | 2 | 4);
}

TEST_F(ActorMotionTest, GasIsHeldBetweenZeroAndItsMaximum) {
  At(cart_).maxGas = 100;
  struct Case {
    const char16_t* name;
    Variant assigned;
    float gas, maxGas;
  };
  const Case cases[] = {
      {u"Gas", L(500), 100, 100}, {u"Gas", L(-5), 0, 100},     {u"Gas", L(40), 40, 100},
      {u"MaxGas", L(-3), 40, 0},  {u"MaxGas", L(250), 40, 250},
  };
  for (const Case& c : cases) {
    Assign(kObjectVehicle, cart_, c.name, c.assigned);
    EXPECT_EQ(At(cart_).gas, c.gas) << Utf16ToUtf8(c.name);
    EXPECT_EQ(At(cart_).maxGas, c.maxGas) << Utf16ToUtf8(c.name);
  }
}

TEST_F(ActorMotionTest, PlainFieldsOfMotion) {
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant read;
  };
  const Case cases[] = {
      {u"CanMove", T(u"no"), Variant::Byte(0)},      {u"Solid", L(1), Variant::Byte(1)},
      {u"Block", T(u"off"), Variant::Byte(0)},       {u"Speed", Variant::Double(0.125), S(0.125f)},
      {u"AutoMoveStyle", L(3), L(3)},                {u"Velocity", L(2), S(2.0f)},
      {u"Acceleration", Variant::Double(0.5), S(0.5f)}, {u"Extension", Variant::Double(0.25), S(0.25f)},
      {u"Rotation", T(u"Up"), S(-std::numbers::pi_v<float> / 2)},
  };
  for (const Case& c : cases) {
    Assign(kObjectVehicle, cart_, c.name, c.assigned);
    EXPECT_EQ(Read(kObjectVehicle, cart_, c.name), c.read) << Utf16ToUtf8(c.name);
  }
  EXPECT_EQ(At(cart_).solidToTouch, 0);
  EXPECT_EQ(At(cart_).vehicleValue2, 0.5f);
}

TEST_F(ActorMotionTest, ExtensionMovesOverASecond) {
  At(cart_).extension = 0;
  On(kObjectVehicle, cart_, u"ExtensionStart");
  Tick(500);
  EXPECT_NEAR(At(cart_).extension, 0.5f, 0.001f);
  Tick(600);
  EXPECT_EQ(At(cart_).extension, 1.0f);
  On(kObjectVehicle, cart_, u"ExtensionStop");
  Tick(1000);
  EXPECT_EQ(At(cart_).extension, 0.0f);
}

TEST_F(ActorMotionTest, WeaponActionDropsTheFiredPressOnEveryAccess) {
  EXPECT_EQ(Raised([&] { Read(kObjectTurret, cart_, u"WeaponAction"); }), "9 Subscript out of range");
  At(cart_).equipment.resize(2);
  At(cart_).equipment[0].flag = 1;
  At(cart_).equipment[0].pressFired = 1;
  EXPECT_EQ(Read(kObjectTurret, cart_, u"WeaponAction"), Variant::Byte(1));
  EXPECT_EQ(At(cart_).equipment[0].pressFired, 0);
  At(cart_).equipment[0].pressFired = 1;
  Assign(kObjectTurret, cart_, u"WeaponAction", L(0));
  EXPECT_EQ(At(cart_).equipment[0].flag, 0);
  EXPECT_EQ(At(cart_).equipment[0].pressFired, 0);
}

TEST_F(ActorMotionTest, MovementToDirectionTakesTheDirectionOfMotion) {
  At(bob_).heading = 0.5f;
  At(bob_).velocityX = 0;
  At(bob_).velocityY = 1;
  On(kObjectCharacter, bob_, u"MovementToDirection");
  EXPECT_FLOAT_EQ(At(bob_).heading, std::numbers::pi_v<float> / 2);
}

}  // namespace
}  // namespace kiv::test
