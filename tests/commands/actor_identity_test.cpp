// Identity, references and existence of actors: template, names, player,
// carried interface, variables, deletion, references to other actors and the
// closest-actor searches.
#include <string>

#include "actor_properties_fixture.h"
#include "data/actor_template.h"
#include "data/fixed_identifiers.h"
#include "player/character_system_fields.h"
#include "world/map_systems.h"

namespace kiv::test {
namespace {

class ActorIdentityTest : public ActorPropertiesTest {
 protected:
  void SetUp() override {
    ActorPropertiesTest::SetUp();
    // "Person", and "Guard" derived from it; "Shifter" is changeable.
    gameData.actorTemplates.resize(3);
    gameData.actorTemplates[0].name = u"Person";
    gameData.actorTemplates[1].name = u"Guard";
    gameData.actorTemplates[1].derivedRecord.templateIndex = 0;
    gameData.actorTemplates[1].id.bytes.fill(7);
    gameData.actorTemplates[2].name = u"Shifter";
    gameData.actorTemplates[2].deferFlag = 1;
    bob_ = AddNamed(u"Character Bob", 10, 10, 0);
    ann_ = AddNamed(u"Character Ann", 20, 10, 0);
    cart_ = AddNamed(u"Vehicle Cart", 50, 50, 0);
  }

  std::int32_t bob_ = 0, ann_ = 0, cart_ = 0;
};

TEST_F(ActorIdentityTest, TemplateIsStoredAndAppliedUnlessChangeable) {
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Template"), Text(u""));
  Assign(kObjectCharacter, bob_, u"Template", Text(u"Guard"));
  EXPECT_EQ(At(bob_).templateIndex, 1);
  EXPECT_EQ(At(bob_).templateId, gameData.actorTemplates[1].id);
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Template"), Text(u"Guard"));

  EXPECT_EQ(Raised([&] { Assign(kObjectCharacter, bob_, u"Template", Text(u"Shifter")); }),
            "-1 You cannot change the actor to a changeable template.");
  EXPECT_EQ(At(bob_).templateIndex, 1);
  EXPECT_EQ(Raised([&] { Assign(kObjectCharacter, bob_, u"Template", Text(u"Nobody")); }).rfind("-1 ", 0), 0u);
  EXPECT_EQ(At(bob_).templateIndex, 1);
}

TEST_F(ActorIdentityTest, IsAFollowsTheTemplateLine) {
  struct Case {
    std::int32_t actorTemplate;
    const char16_t* asked;
    std::int32_t expected;
  };
  const Case cases[] = {
      {1, u"Guard", 1}, {1, u"Person", 1}, {0, u"Guard", 0}, {0, u"Person", 1}, {-1, u"Person", 0}, {2, u"Person", 0},
  };
  for (const Case& c : cases) {
    At(bob_).templateIndex = c.actorTemplate;
    EXPECT_EQ(Read(kObjectCharacter, bob_, u"IsA", {Text(c.asked)}), Variant::Long(c.expected))
        << c.actorTemplate << " " << Utf16ToUtf8(c.asked);
  }
}

TEST_F(ActorIdentityTest, IsPlayerLooksThroughTheDriver) {
  struct Case {
    std::int32_t owner;
    std::int32_t driver;
    std::int32_t driverOwner;
    std::int32_t expected;
  };
  const Case cases[] = {
      {0, -1, -1, -1}, {-1, -1, -1, 0}, {2, -1, -1, -1}, {-1, 0, 1, -1}, {0, 0, -1, 0}, {-1, 0, -1, 0},
  };
  for (const Case& c : cases) {
    At(cart_).owningPlayer = c.owner;
    At(cart_).driver = c.driver == 0 ? ann_ : -1;
    At(ann_).owningPlayer = c.driverOwner;
    EXPECT_EQ(Read(kObjectVehicle, cart_, u"IsPlayer"), Variant::Long(c.expected)) << c.owner << " " << c.driver;
  }
}

TEST_F(ActorIdentityTest, NamesByReferenceKind) {
  struct Case {
    std::int32_t kind;
    const char16_t* assigned;
    const char16_t* stored;
    const char16_t* read;
  };
  const Case cases[] = {
      {kObjectCharacter, u"3", u"Character 3", u"3"},
      {kObjectVehicle, u"Wagon", u"Vehicle Wagon", u"Wagon"},
      {kObjectTurret, u"Gun", u"Turret Gun", u"Gun"},
      {kObjectActor, u"Crate", u"Crate", u"Crate"},
  };
  for (const Case& c : cases) {
    Assign(c.kind, bob_, u"Name", Text(c.assigned));
    EXPECT_EQ(At(bob_).name, c.stored);
    EXPECT_EQ(Read(c.kind, bob_, u"Name"), Text(c.read));
    EXPECT_EQ(Read(c.kind, bob_, u"FullName"), Text(u"|Town:" + std::u16string(c.read)));
  }
  // A map object has no scripting ID, and keeps its name.
  Assign(kObjectDynamic, bob_, u"Name", Text(u"Box"));
  EXPECT_EQ(At(bob_).name, u"Crate");
  EXPECT_EQ(Raised([&] { Read(kObjectDynamic, bob_, u"Name"); }), "-1 Cannot identify \"Crate\".");
}

TEST_F(ActorIdentityTest, ReadOnlyIdentityRefusesAssignment) {
  struct Case {
    const char16_t* name;
    const char* message;
  };
  const Case cases[] = {
      {u"IsPlayer", "You cannot change the player of an actor."},
      {u"FullName", "You cannot change the full name of something."},
      {u"Map", "You cannot change the map this way."},
      {u"Portrait", "You cannot alter face graphic this way."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Raised([&] { Assign(kObjectCharacter, bob_, c.name, Text(u"x")); }), std::string("-1 ") + c.message);
  }
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Map"), Text(u"Town"));
  EXPECT_EQ(At(bob_).name, u"Character Bob");
}

TEST_F(ActorIdentityTest, DeleteTakesOthersOutForGoodButNotAPlayersCharacter) {
  At(ann_).owningPlayer = 0;
  EXPECT_EQ(Raised([&] { On(kObjectCharacter, ann_, u"Delete"); }), "-1 You cannot delete a playable actor.");
  EXPECT_EQ(At(ann_).name, u"Character Ann");
  EXPECT_EQ(At(ann_).removed, 0);
  EXPECT_EQ(RemoveMark(At(ann_)), -1);

  On(kObjectCharacter, bob_, u"Delete");
  EXPECT_EQ(At(bob_).removed, 1);
  EXPECT_EQ(At(bob_).name, u"");
  // The respawn time "never" is the mark that removes it even while a wait names it.
  EXPECT_EQ(RemoveMark(At(bob_)), kForcedRemoveMark);
  EXPECT_EQ(At(ann_).name, u"Character Ann");
}

TEST_F(ActorIdentityTest, InterfaceCopiesTheFieldsAndSpawnsOfTheInterface) {
  gameData.maps.Append();
  Map& hud = gameData.maps[1];
  hud.fileName = u"Hud";
  hud.isInterface = true;
  hud.fields.resize(2);
  hud.fields[1].name = u"Score";
  hud.spawns.resize(1);
  At(bob_).carriedIndex = 4;
  Assign(kObjectCharacter, bob_, u"Interface", Text(u"Hud"));
  ASSERT_EQ(At(bob_).carriedFields.size(), 2u);
  EXPECT_EQ(At(bob_).carriedFields[1].name, u"Score");
  EXPECT_EQ(At(bob_).carriedSpawns.size(), 1u);
  EXPECT_EQ(At(bob_).carriedIndex, -1);
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Interface"), Text(u"Hud"));

  Assign(kObjectCharacter, bob_, u"Interface", Text(u""));
  EXPECT_TRUE(At(bob_).carriedFields.empty());
  EXPECT_TRUE(At(bob_).carriedSpawns.empty());
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Interface"), Text(u""));
}

TEST_F(ActorIdentityTest, VariablesAreReadAndAssignedButNeverCreated) {
  At(bob_).variables.push_back({SymbolIntern(u"Mood"), Variant::Long(3)});
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"Variable", {Text(u"Mood")}), Variant::Long(3));
  Assign(kObjectCharacter, bob_, u"Variable", Text(u"happy"), {Text(u"Mood")});
  EXPECT_EQ(At(bob_).variables[0].value, Text(u"happy"));
  const std::string missing = "-1 Actor (\"Character Bob\") variable \"Age\" does not exist.";
  EXPECT_EQ(Raised([&] { Read(kObjectCharacter, bob_, u"Variable", {Text(u"Age")}); }), missing);
  EXPECT_EQ(Raised([&] { Assign(kObjectCharacter, bob_, u"Variable", Variant::Long(1), {Text(u"Age")}); }),
            missing);
  EXPECT_EQ(At(bob_).variables.size(), 1u);
}

TEST_F(ActorIdentityTest, NonExistentRaisesItsEventOnlyWhenTheFlagChanges) {
  const std::int32_t watcher = AddActor(kSymTriggerActorExistenceChanged, u"Mark(1)");
  At(watcher).name = u"Character Watcher";
  Assign(kObjectCharacter, watcher, u"NonExistent", Variant::Long(0));
  EXPECT_TRUE(Marks().empty());
  Assign(kObjectCharacter, watcher, u"NonExistent", Text(u"True"));
  EXPECT_EQ(At(watcher).removed, 1);
  EXPECT_EQ(Marks().size(), 1u);
  Assign(kObjectCharacter, watcher, u"NonExistent", Variant::Long(1));
  EXPECT_EQ(Marks().size(), 1u);
  EXPECT_EQ(Read(kObjectCharacter, watcher, u"NonExistent"), Variant::Byte(1));
}

TEST_F(ActorIdentityTest, PortraitGivesItsArrayAndSetsTheFlag) {
  mapSystems.arrayValueBuilt = false;
  const Variant portrait = Read(kObjectCharacter, ann_, u"Portrait");
  EXPECT_EQ(portrait, Variant::Array(kVarLong, {Variant::Long(10), Variant::Long(0), Variant::Long(0),
                                                Variant::Long(0), Variant::Long(0), Variant::Long(0),
                                                Variant::Long(ann_)}));
  EXPECT_TRUE(mapSystems.arrayValueBuilt);
}

TEST_F(ActorIdentityTest, ReferenceTextsFollowTheReferenceKind) {
  At(bob_).vehicleRidden = cart_;
  At(cart_).driver = bob_;
  At(bob_).aiFocus = ann_;
  At(bob_).lastAttacked = ann_;
  struct Case {
    std::int32_t kind;
    std::int32_t actor;
    const char16_t* name;
    const char16_t* expected;
  };
  const Case cases[] = {
      {kObjectActor, bob_, u"InVehicle", u"|Town:Vehicle Cart"},
      {kObjectCharacter, bob_, u"InVehicle", u"Cart"},
      {kObjectVehicle, cart_, u"Child", u"Bob"},
      {kObjectActor, cart_, u"Child", u"|Town:Character Bob"},
      {kObjectCharacter, bob_, u"InTurret", u""},
      {kObjectCharacter, bob_, u"AIFocusChar", u"Ann"},
      {kObjectCharacter, bob_, u"AIFocusActor", u"|Town:Character Ann"},
      {kObjectCharacter, bob_, u"LastAttacked", u"|Town:Character Ann"},
      {kObjectCharacter, bob_, u"LastDamaged", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.kind, c.actor, c.name), Text(c.expected)) << Utf16ToUtf8(c.name) << " kind " << c.kind;
  }
  Assign(kObjectCharacter, bob_, u"LastAttacked", Text(u""));
  EXPECT_EQ(At(bob_).lastAttacked, -1);
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"LastAttacked"), Text(u""));
  Assign(kObjectCharacter, bob_, u"LastDamaged", Text(u"|Town:Vehicle Cart"));
  EXPECT_EQ(At(bob_).lastDamaged, cart_);
}

TEST_F(ActorIdentityTest, ClosestSearchesKeepTheEarlierOfEqualDistances) {
  // Bob at (10, 10); Ann at (20, 10); the cart far off.
  const std::int32_t twin = AddNamed(u"Character Twin", 0, 10, 0);  // as near as Ann, but later
  const std::int32_t gone = AddNamed(u"Character Gone", 11, 10, 0);
  At(gone).removed = 1;
  const std::int32_t odd = AddNamed(u"  CHARACTER Odd", 10, 10, 5);  // nearest of all
  At(odd).templateIndex = -2;
  At(ann_).templateIndex = 1;
  At(twin).templateIndex = 1;
  struct Case {
    const char16_t* name;
    std::vector<Variant> arguments;
    const char16_t* expected;
  };
  const std::vector<Case> cases = {
      {u"ClosestActor", {Text(u"Guard")}, u"|Town:Character Ann"},
      {u"ClosestActor", {Text(u"Person")}, u"|Town:Character Ann"},
      {u"ClosestActor", {Text(u"")}, u"|Town:Character Ann"},  // the unknown template of Odd is left out
      {u"ClosestChar", {}, u"Odd"},  // any name that starts with "character "
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(kObjectCharacter, bob_, c.name, c.arguments), Text(c.expected)) << Utf16ToUtf8(c.name);
  }
  At(odd).templateIndex = -1;
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"ClosestActor", {Text(u"")}), Text(u"|Town:  CHARACTER Odd"));
  At(odd).removed = 1;
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"ClosestChar"), Text(u"Ann"));
  // Nobody else in play: "".
  for (const std::int32_t other : {ann_, cart_, twin, odd}) At(other).removed = 1;
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"ClosestActor", {Text(u"")}), Text(u""));
  EXPECT_EQ(Read(kObjectCharacter, bob_, u"ClosestChar"), Text(u""));
}

}  // namespace
}  // namespace kiv::test
