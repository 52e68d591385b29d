// A party and its player (kind 34), its members (kind 11) and character teams
// (kind 10) seen from scripts, on a small world with a party of four.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <optional>

#include "commands/actor_executor.h"
#include "core/folders.h"
#include "core/number_text.h"
#include "data/fixed_identifiers.h"
#include "data/project_state.h"
#include "dialogs/controls_file.h"
#include "media/controls_table.h"
#include "object_kind_fixture.h"
#include "player/input_system.h"
#include "script/waits.h"
#include "state/controls_block.h"
#include "state/project_settings_block.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace kiv::test {
namespace {

constexpr std::size_t kPartyShortcutsFlag = 19;

// Party of player 0: members 0..3 are characters 0..3 named "Character 10"..
// "Character 13" with display names Ann, Bob, Cid, Dee; character 4 is no
// member. Player 1 has an empty party.
class PartyPropertiesTest : public ObjectKindTest {
 protected:
  void SetUp() override {
    ObjectKindTest::SetUp();
    world_.emplace(19, 19, 0, 16);
    gameData.statistics.resize(2);
    gameData.statistics[0].name = u"HP";
    gameData.statistics[1].name = u"MP";
    projectState.players.assign(2, Player());
    Player& player = projectState.players[0];
    player.mapIndex = world_->map();
    const char16_t* names[] = {u"Ann", u"Bob", u"Cid", u"Dee"};
    for (std::int32_t k = 0; k < 4; ++k) {
      const std::int32_t c = world_->AddCharacter(40.0f + 32.0f * static_cast<float>(k), 40, 0, Box{-4, -4, 4, 4, 0, 16});
      A(c).name = u"Character " + AnsiToUtf16(std::to_string(10 + k));
      A(c).displayName = names[k];
      A(c).owningPlayer = 0;
      A(c).statistics.resize(2);
      A(c).statistics[0].currentValue = 10;
      PartyMember m;
      m.character = c;
      m.minLevel = 1;
      m.maxLevel = 5;
      m.level = 1;
      m.experienceBase = 100;
      m.experienceStep = 50;
      m.levelStats = {{10, 20, 30, 40, 50}, {}};
      player.party.push_back(m);
    }
    world_->AddCharacter(300, 300, 0);
    player.controlledMember = 0;
    PartyShortcuts(false);
  }
  void TearDown() override {
    storedProjectSettings = StoredProjectSettings();
    controls.clear();
    ObjectKindTest::TearDown();
  }

  static void PartyShortcuts(bool on) { storedProjectSettings.flags[kPartyShortcutsFlag] = on ? 1 : 0; }
  Actor& A(std::int32_t i) { return world_->M().actors[static_cast<std::size_t>(i)]; }
  static Player& P() { return projectState.players[0]; }
  static PartyMember& Member(std::size_t m) { return P().party[m]; }

  Variant PartyRead(const std::u16string& name, const std::vector<Variant>& arguments = {}, std::int32_t player = 0) {
    return Read(RunPartyProperty, kObjectPlayer, player, name, arguments);
  }
  ScriptValue PartyAssign(const std::u16string& name, const Variant& value, const std::vector<Variant>& arguments = {},
                          std::int32_t player = 0) {
    return Assign(RunPartyProperty, kObjectPlayer, player, name, value, arguments);
  }
  Variant MemberRead(std::int32_t member, const std::u16string& name, const std::vector<Variant>& arguments = {}) {
    return Read(RunPartyMemberProperty, kObjectPartyMember, member, name, arguments, 0);
  }
  ScriptValue MemberAssign(std::int32_t member, const std::u16string& name, const Variant& value) {
    return Assign(RunPartyMemberProperty, kObjectPartyMember, member, name, value, {}, 0);
  }

  std::optional<WorldBuilder> world_;
};

std::vector<std::u16string> TextsOf(const Variant& array) {
  std::vector<std::u16string> texts;
  for (const Variant& v : array.Elements()) texts.push_back(v.AsText());
  return texts;
}

TEST_F(PartyPropertiesTest, PartyListsTheMembersInPlay) {
  A(1).removed = 1;
  A(3).removed = 1;
  PartyShortcuts(true);
  EXPECT_EQ(TextsOf(PartyRead(u"Party")), (std::vector<std::u16string>{u"P0", u"P2"}));
  PartyShortcuts(false);
  EXPECT_EQ(TextsOf(PartyRead(u"Party")), (std::vector<std::u16string>{u"Character 10", u"Character 12"}));
  A(0).removed = 1;
  A(2).removed = 1;
  const Variant none = PartyRead(u"Party");
  ASSERT_TRUE(none.IsArray());
  EXPECT_TRUE(none.Elements().empty());
  const Variant emptyParty = PartyRead(u"Party", {}, 1);
  ASSERT_TRUE(emptyParty.IsArray());
  EXPECT_TRUE(emptyParty.Elements().empty());
}

TEST_F(PartyPropertiesTest, MemberGivesAPartyMemberReference) {
  const ScriptValue member = CallKind(RunPartyProperty, kObjectPlayer, Variant::Long(0), u"Member", Texts({u"Character 12"}));
  EXPECT_EQ(member.kind, kObjectPartyMember);
  EXPECT_EQ(member.value, Variant::Long(2));
  EXPECT_EQ(member.mapIndex, 0);
}

TEST_F(PartyPropertiesTest, PrimaryMemberTakesOnlyAMemberInPlay) {
  EXPECT_EQ(PartyRead(u"PrimaryMember"), Variant::Long(0));
  A(1).removed = 1;
  EXPECT_EQ(Raised([&] { PartyAssign(u"PrimaryMember", Variant::Text(u"Character 11")); }),
            "-1 Party member \"1\" (Bob) is currently not in the party, and therefore can't be controlled.");
  EXPECT_EQ(P().controlledMember, 0);
  EXPECT_NE(Raised([&] { PartyAssign(u"PrimaryMember", Variant::Text(u"Character 99")); }), "no error");
  EXPECT_EQ(P().controlledMember, 0);
  PartyAssign(u"PrimaryMember", Variant::Text(u"Character 12"));
  EXPECT_EQ(P().controlledMember, 2);
}

TEST_F(PartyPropertiesTest, SwitchPrimaryMemberVisitsEachMemberAtMostOnce) {
  struct Case {
    const char* what;
    std::int32_t partySize;
    std::int32_t controlled;
    bool forward;
    std::vector<std::int32_t> outOfPlay;
    std::vector<std::int32_t> exhausted;  // first statistic 0 or less
    std::int32_t expected;
  } cases[] = {
      {"next", 4, 0, true, {}, {}, 1},
      {"previous wraps", 4, 0, false, {}, {}, 3},
      {"skips out of play and exhausted", 4, 0, true, {1}, {2}, 3},
      {"only the controlled one qualifies", 4, 1, true, {0, 2}, {3}, 1},
      {"one member", 1, 0, true, {}, {}, 0},
      {"nobody controlled, forward", 4, -1, true, {0}, {}, 1},
      {"nobody controlled, nobody qualifies", 4, -1, false, {0, 1, 2, 3}, {}, -1},
  };
  const std::vector<PartyMember> party = P().party;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    P().party = party;
    for (std::int32_t k = 0; k < 4; ++k) {
      A(k).removed = 0;
      A(k).statistics[0].currentValue = 10;
    }
    P().party.resize(static_cast<std::size_t>(c.partySize));
    P().controlledMember = c.controlled;
    for (const std::int32_t k : c.outOfPlay) A(k).removed = 1;
    for (const std::int32_t k : c.exhausted) A(k).statistics[0].currentValue = k == 2 ? 0 : -3;
    PartyRead(u"SwitchPrimaryMember", {Variant::Boolean(c.forward)});
    EXPECT_EQ(P().controlledMember, c.expected);
  }
}

TEST_F(PartyPropertiesTest, MoneyPointsAndSteps) {
  PartyAssign(u"Money", Variant::Long(-5));
  EXPECT_EQ(P().money, 0);
  PartyAssign(u"Money", Variant::Double(12.3456));
  EXPECT_EQ(P().money, 123456);
  EXPECT_EQ(VarToText(PartyRead(u"Money")), u"12.3456");
  EXPECT_EQ(PartyRead(u"MoneyFormatted"), Variant::Text(FormatMoneyText(12.3456)));
  EXPECT_EQ(Raised([&] { PartyAssign(u"MoneyFormatted", Variant::Long(3)); }),
            "-1 You cannot change the amount of money through this formatted command.");
  EXPECT_EQ(P().money, 123456);
  PartyAssign(u"Points", Variant::Long(-7));
  PartyAssign(u"Steps", Variant::Long(-2000000000));
  EXPECT_EQ(PlayerPoints(P()), -7);
  EXPECT_EQ(PlayerSteps(P()), -2000000000);
  EXPECT_EQ(PartyRead(u"Steps"), Variant::Long(-2000000000));
}

TEST_F(PartyPropertiesTest, ExperienceReachesEveryMemberInPlay) {
  A(2).removed = 1;
  PartyRead(u"Experience", Longs({30}));
  EXPECT_EQ(Member(0).experience, 30);
  EXPECT_EQ(Member(1).experience, 30);
  EXPECT_EQ(Member(2).experience, 0);
  EXPECT_EQ(Member(3).experience, 30);
  // 150 more passes the first threshold (1 x 50 + 100): level 2 with 30 left.
  PartyRead(u"Experience", Longs({150}));
  EXPECT_EQ(Member(0).level, 2);
  EXPECT_EQ(Member(0).experience, 30);
  EXPECT_EQ(Member(2).level, 1);
}

using Pairs = std::vector<std::pair<std::int32_t, std::int32_t>>;
Pairs PairsOf(const std::vector<InputBinding>& bindings) {
  Pairs pairs;
  for (const InputBinding& b : bindings) pairs.emplace_back(b.mode, b.key);
  return pairs;
}

// ---- Controls ---------------------------------------------------------------

class PartyControlsTest : public PartyPropertiesTest {
 protected:
  void SetUp() override {
    PartyPropertiesTest::SetUp();
    setenv("XDG_DATA_HOME", dir_.Path().c_str(), 1);
    savedGameFolder_ = gameFolder;
    gameFolder = "/games/Quest";
    controls.assign(2, Control());
    controls[0].name = controls[0].displayName = u"Action";
    controls[1].name = controls[1].displayName = u"Jump";
    controls[0].slots[0].bindings = {{2, 87}};  // F11
    controlsStamp = 300;
    projectState.players.resize(5);
  }
  void TearDown() override {
    gameFolder = savedGameFolder_;
    controlsStamp = 0;
    PartyPropertiesTest::TearDown();
  }
  std::string ControlsPath() const { return JoinPath(GetUserGameFolder(), kControlsFileName); }
  std::vector<InputBinding>& Bindings(std::size_t control, std::size_t player = 0) {
    return controls[control].slots[player].bindings;
  }

  TempDir dir_;
  std::string savedGameFolder_;
};

TEST_F(PartyControlsTest, PressedStatesAreReadOnlyAndSimulatedPressesArriveNextTick) {
  for (const char16_t* state : {u"Control", u"ControlDown", u"ControlUp"}) {
    EXPECT_EQ(PartyRead(state, Texts({u"Action"})), Variant::Long(0));
    EXPECT_EQ(Raised([&] { PartyAssign(state, Variant::Long(1), Texts({u"Action"})); }),
              "-1 You cannot alter a control's pressed state.");
  }
  PartyAssign(u"ControlSimulate", Variant::Long(1), Texts({u"Action"}));
  BindingSlot& slot = controls[0].slots[0];
  EXPECT_EQ(slot.pending, 1);
  EXPECT_EQ(slot.current, 0);
  EXPECT_EQ(PartyRead(u"ControlSimulate", Texts({u"Action"})), Variant::Long(1));
  RunInputSystem();
  EXPECT_EQ(PartyRead(u"Control", Texts({u"Action"})), Variant::Long(1));
  EXPECT_EQ(PartyRead(u"ControlDown", Texts({u"Action"})), Variant::Long(1));
  EXPECT_EQ(PartyRead(u"ControlSimulate", Texts({u"Action"})), Variant::Long(0x000101));
  PartyAssign(u"ControlSimulate", Variant::Long(0x010200), Texts({u"Action"}));
  EXPECT_EQ(std::vector<int>({slot.pending, slot.current, slot.previous}), std::vector<int>({0, 2, 1}));
  EXPECT_NE(Raised([&] { PartyRead(u"Control", Texts({u"Fly"})); }), "no error");
}

TEST_F(PartyControlsTest, APlayerOutsideZeroToThreeIsErrorNineBeforeAnySlot) {
  projectState.players[4].mapIndex = 0;
  for (const char16_t* identifier : {u"Control", u"ControlDown", u"ControlUp", u"ControlSimulate", u"ControlInputs",
                                     u"ControlInputAdd", u"ControlInputRemove"}) {
    EXPECT_EQ(Raised([&] { PartyRead(identifier, Texts({u"Action", u"F11"}), 4); }).substr(0, 2), "9 ")
        << Utf16ToUtf8(identifier);
  }
  EXPECT_EQ(Raised([&] { PartyAssign(u"ControlSimulate", Variant::Long(1), Texts({u"Action"}), 4); }).substr(0, 2),
            "9 ");
  for (const Control& control : controls) {
    for (const BindingSlot& slot : control.slots) EXPECT_EQ(slot.pending, 0);
  }
  EXPECT_EQ(PairsOf(Bindings(0)), (Pairs{{2, 87}}));
}

TEST_F(PartyControlsTest, InputsAreListedAddedAndRemovedAndTheFileFollows) {
  EXPECT_EQ(TextsOf(PartyRead(u"ControlInputs", Texts({u"Action"}))), (std::vector<std::u16string>{u"F11"}));
  EXPECT_TRUE(PartyRead(u"ControlInputs", Texts({u"Jump"})).Elements().empty());

  PartyRead(u"ControlInputAdd", Texts({u"Action", u"Scroll Lock"}));
  PartyRead(u"ControlInputAdd", Texts({u"Action", u"F11"}));
  EXPECT_EQ(TextsOf(PartyRead(u"ControlInputs", Texts({u"Action"}))),
            (std::vector<std::u16string>{u"F11", u"Scroll Lock", u"F11"}));
  // The file holds the table as it is now: loading it gives it back.
  const Pairs added = PairsOf(Bindings(0));
  Bindings(0).clear();
  LoadControlsFile();
  EXPECT_EQ(PairsOf(Bindings(0)), added);

  // A key bound twice loses both bindings.
  PartyRead(u"ControlInputRemove", Texts({u"Action", u"F11"}));
  EXPECT_EQ(PairsOf(Bindings(0)), (Pairs{{2, 70}}));
  PartyRead(u"ControlInputRemove", Texts({u"Action", u"Scroll Lock"}));
  EXPECT_TRUE(Bindings(0).empty());
  Bindings(0) = {{2, 1}};
  LoadControlsFile();
  EXPECT_TRUE(Bindings(0).empty());
  EXPECT_TRUE(Bindings(1).empty());

  EXPECT_NE(Raised([&] { PartyRead(u"ControlInputAdd", Texts({u"Action", u"No such key"})); }), "no error");
  EXPECT_NE(Raised([&] { PartyRead(u"ControlInputAdd", Texts({u"Fly", u"F11"})); }), "no error");
  EXPECT_TRUE(Bindings(0).empty());
}

TEST_F(PartyControlsTest, AControlsFileThatCannotBeWrittenIsAnErrorAndTheOldFileStays) {
  PartyRead(u"ControlInputAdd", Texts({u"Jump", u"F11"}));
  const ByteList before = ReadTestFile(ControlsPath());
  ASSERT_FALSE(before.empty());
  // A full disk: no file may grow beyond a few bytes.
  struct sigaction ignore {};
  struct sigaction saved {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &saved);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit full{4, limit.rlim_max};
  setrlimit(RLIMIT_FSIZE, &full);
  const std::string raised = Raised([&] { PartyRead(u"ControlInputAdd", Texts({u"Jump", u"Scroll Lock"})); });
  setrlimit(RLIMIT_FSIZE, &limit);
  sigaction(SIGXFSZ, &saved, nullptr);
  EXPECT_EQ(raised.substr(0, 3), "-1 ");
  EXPECT_EQ(PairsOf(Bindings(1)), (Pairs{{2, 87}, {2, 70}}));
  EXPECT_EQ(ReadTestFile(ControlsPath()), before);
}

TEST_F(PartyControlsTest, WaitRequestsForControls) {
  shell.currentPlayer = 0;
  const ScriptValue one = CallKind(RunPartyProperty, kObjectPlayer, Variant::Long(0), u"WaitControl", Texts({u"Jump"}));
  EXPECT_EQ(one.kind, kValueControl);
  EXPECT_EQ(one.value, ScriptMakeWaitRequest(1, 0, -1, 0, -1, Variant::Long(1), -1, -1, -1));

  const Variant expected = Variant::Array(kVarVariant, {Variant::Byte(1), Variant::Long(1), Variant::Long(0)});
  const ScriptValue listed = CallKind(RunPartyProperty, kObjectPlayer, Variant::Long(1), u"WaitControl2",
                                      {Variant::Text(u"on"), Variant::Text(u"Jump"), Variant::Text(u"Action")});
  EXPECT_EQ(listed.kind, kValueControl);
  EXPECT_EQ(listed.value, ScriptMakeWaitRequest(1, 0, -1, 0, -1, expected, -1, -1, 1));

  // A collection as the second argument stands for its elements.
  const std::int32_t wanted = Collection(u"wanted", Texts({u"Jump", u"Action"}));
  CallFrame& frame = TopFrame();
  frame.valueStack.assign({ScriptValue{kValuePlain, Variant::Text(u"yes"), 0},
                           ScriptValue{kValueCollection, Variant::Long(wanted), 0}, ScriptValue{}});
  frame.stackBase = 0;
  frame.valueStackTop = 1;
  ScriptValue object{kObjectPlayer, Variant::Long(1), -1};
  ScriptValue result;
  ScriptObjectProperty(SymbolIntern(u"WaitControl2"), object, 1, result, kModeRead, Variant(), true);
  EXPECT_EQ(result.value, ScriptMakeWaitRequest(1, 0, -1, 0, -1, expected, -1, -1, 1));
}

// ---- Party members ----------------------------------------------------------

TEST_F(PartyPropertiesTest, MemberNameLevelAndExperience) {
  EXPECT_EQ(MemberRead(1, u"Name"), Variant::Text(u"Bob"));
  Member(1).experience = 40;
  MemberAssign(1, u"Level", Variant::Long(3));
  EXPECT_EQ(Member(1).level, 3);
  EXPECT_EQ(Member(1).experience, 0);
  EXPECT_EQ(MemberRead(1, u"ExperienceNextLevel"), Variant::Long(3 * 50 + 100));
  EXPECT_EQ(Raised([&] { MemberAssign(1, u"ExperienceNextLevel", Variant::Long(1)); }),
            "-1 You cannot alter the experience for next level.");
  // 260 at level 3: 250 to level 4, 10 left.
  MemberAssign(1, u"Experience", Variant::Long(260));
  EXPECT_EQ(Member(1).level, 4);
  EXPECT_EQ(MemberRead(1, u"Experience"), Variant::Long(10));
  MemberAssign(1, u"Level", Variant::Long(1));
  EXPECT_EQ(Member(1).level, 1);
}

TEST_F(PartyPropertiesTest, InPartyReadsOneOrZeroAndLeavingTellsTheCharacter) {
  Trigger changed;
  changed.event = kSymTriggerActorExistenceChanged;
  changed.script = MakeScript(u"Mark(2)");
  A(2).triggers.push_back(changed);
  const Variant in = MemberRead(2, u"InParty");
  EXPECT_EQ(in.Type(), kVarInteger);
  EXPECT_EQ(in, Variant::Integer(1));
  MemberAssign(2, u"InParty", Variant::Text(u"no"));
  EXPECT_EQ(A(2).removed, 1);
  EXPECT_EQ(MemberRead(2, u"InParty"), Variant::Integer(0));
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(2)}));
  // Leaving again: the character is out of play already; nothing is raised.
  MemberAssign(2, u"InParty", Variant::Long(0));
  EXPECT_EQ(Marks().size(), 1u);
  MemberAssign(2, u"InParty", Variant::Text(u"yes"));
  EXPECT_EQ(A(2).removed, 0);
  EXPECT_EQ(MemberRead(2, u"InParty"), Variant::Integer(1));
}

TEST_F(PartyPropertiesTest, LearnMagicAndStatForLevel) {
  gameData.items.assign(2, Item());
  gameData.items[0].name = u"Fire";
  gameData.items[1].name = u"Ice";
  Read(RunPartyMemberProperty, kObjectPartyMember, 0, u"LearnMagic", Texts({u"Ice"}), 0);
  ASSERT_EQ(Member(0).magic.size(), 1u);
  EXPECT_EQ(Member(0).magic[0].item, 1);
  Read(RunPartyMemberProperty, kObjectPartyMember, 0, u"LearnMagic", {Variant::Text(u"Ice"), Variant::Text(u"true")},
       0);
  EXPECT_TRUE(Member(0).magic.empty());
  EXPECT_NE(Raised([&] { Read(RunPartyMemberProperty, kObjectPartyMember, 0, u"LearnMagic", Texts({u"Mud"}), 0); }),
            "no error");

  struct Case {
    const char16_t* statistic;
    std::int32_t level;
    const char* expected;  // value, or the error's number
  } cases[] = {
      {u"HP", 1, "10"}, {u"HP", 5, "50"}, {u"MP", 3, "0"},  // an empty row reads 0
      {u"HP", 0, "9"},  {u"HP", 6, "9"},
  };
  for (const Case& c : cases) {
    std::string got;
    const std::string raised = Raised([&] {
      got = Utf16ToUtf8(VarToText(MemberRead(0, u"StatForLevel", {Variant::Text(c.statistic), Variant::Long(c.level)})));
    });
    EXPECT_EQ(raised == "no error" ? got : raised.substr(0, 1), c.expected) << c.level;
  }
}

TEST_F(PartyPropertiesTest, MemberReferencesPastThePartyAreErrorNine) {
  for (const char16_t* identifier : {u"Name", u"Level", u"InParty", u"StatForLevel"}) {
    EXPECT_EQ(Raised([&] { MemberRead(4, identifier, Texts({u"HP", u"1"})); }).substr(0, 2), "9 ");
  }
  EXPECT_EQ(Raised([&] { Read(RunPartyMemberProperty, kObjectPartyMember, 0, u"Name", {}, 7); }).substr(0, 2), "9 ");
  EXPECT_EQ(Raised([&] { PartyRead(u"Money", {}, 2); }).substr(0, 2), "9 ");
}

// ---- Character teams --------------------------------------------------------

TEST_F(PartyPropertiesTest, TeamsHandEveryIdentifierToEachCharacter) {
  auto team = [](std::initializer_list<std::int32_t> characters) {
    std::vector<Variant> ids;
    for (const std::int32_t c : characters) ids.push_back(Variant::Long(c));
    return Variant::Array(kVarVariant, std::move(ids));
  };
  const ScriptValue names = CallKind(RunTeamProperty, kObjectTeam, team({2, 0}), u"Title", {}, kModeRead, Variant(), 0);
  EXPECT_EQ(names.value, Variant::Text(u"CidAnn"));

  CallKind(RunTeamProperty, kObjectTeam, team({1, 3}), u"X", {}, kModeAssign, Variant::Long(500), 0);
  EXPECT_EQ(A(1).x, 500.0f);
  EXPECT_EQ(A(3).x, 500.0f);

  // An error on one character ends the statement; the earlier ones are done.
  EXPECT_NE(Raised([&] { CallKind(RunTeamProperty, kObjectTeam, team({0, 77, 2}), u"X", {}, kModeAssign,
                                  Variant::Long(600), 0); }),
            "no error");
  EXPECT_EQ(A(0).x, 600.0f);
  EXPECT_NE(A(2).x, 600.0f);

  const ScriptValue none = CallKind(RunTeamProperty, kObjectTeam, team({}), u"Title", {}, kModeRead, Variant(), 0);
  EXPECT_TRUE(none.value.IsEmpty());
}

}  // namespace
}  // namespace kiv::test
