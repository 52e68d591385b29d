// Every fixed identifier called on no object, read and assigned, with no
// arguments and with three texts: each call ends normally, in a script error
// with a message, or in a numbered run-time error; nothing else escapes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "commands/object_executor.h"
#include "data/fixed_identifiers.h"
#include "internal_commands_fixture.h"
#include "support/temp_dir.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kCodeError = 586;
// An error of evaluated text, reported where it happened and passed on without a text.
constexpr int kAlreadyReported = -2;

class IdentifierSweepTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    // Saves, settings and controls the commands write land in a folder of the test's own.
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
      const char* old = std::getenv(name);
      saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
      setenv(name, folder_.Path().c_str(), 1);
    }
    InternalCommandsTest::SetUp();
  }
  void TearDown() override {
    InternalCommandsTest::TearDown();
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
  }

  TempDir folder_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A script error carries its message, except Error's own (the text it was
// given, empty without one) and one already reported (evaluated text).
bool AcceptedError(std::int32_t code, const KivError& error) {
  const int number = error.Number();
  if (number == kAlreadyReported) return true;
  if (number == kErrData) return code == kCodeError || std::string(error.what()).size() > 0;
  for (const int accepted : {5, 6, 7, 9, 11, 13}) {
    if (number == accepted) return true;
  }
  return false;
}

TEST_F(IdentifierSweepTest, EveryCodeOnNoObjectEndsInAResultOrAReportedError) {
  const std::vector<Variant> texts = {Variant::Text(u"a"), Variant::Text(u"b"), Variant::Text(u"c")};
  int ended = 0;
  int raised = 0;
  for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) {
    const std::u16string name = AnsiToUtf16(std::string(FixedIdentifierName(code)));
    for (const bool withTexts : {false, true}) {
      for (const std::int16_t mode : {kModeRead, kModeAssign}) {
        PushCallFrame(CallFrame(), kiv::Script());
        try {
          Call(name, withTexts ? texts : std::vector<Variant>{}, mode, Variant::Text(u"a"));
          ++ended;
        } catch (const KivError& error) {
          ++raised;
          EXPECT_TRUE(AcceptedError(code, error)) << code << " " << FixedIdentifierName(code) << " raised "
                                            << error.Number() << " " << error.what();
        } catch (const std::exception& other) {
          ADD_FAILURE() << code << " " << FixedIdentifierName(code) << " let out " << other.what();
        }
        while (scriptEngine.callTop >= 0) PopCallFrame();
        shell.quitRequest = false;
        shell.pendingRestart = false;
        shell.pendingSlotLoad = -1;
      }
    }
  }
  // The calls reached the executors: some end normally, many are refused.
  EXPECT_GT(ended, 100);
  EXPECT_GT(raised, 100);
}

// A reference of each kind of the object executor to a record the empty
// world lacks: every code ends in a reported error or does nothing.
TEST_F(IdentifierSweepTest, EveryCodeOnAMissingObjectOfEachKindIsRefused) {
  const std::vector<Variant> texts = {Variant::Text(u"a"), Variant::Text(u"b"), Variant::Text(u"c")};
  for (const std::int32_t kind : {8, 10, 11, 13, 17, 19, 21, 22, 23, 27, 28, 29, 30, 34, 36, 37}) {
    if (ObjectKindEntryFor(kind) == nullptr) continue;
    for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) {
      for (const bool withTexts : {false, true}) {
        for (const std::int16_t mode : {kModeRead, kModeAssign}) {
          CallFrame frame;
          frame.ownerMap = 0;
          PushCallFrame(frame, kiv::Script());
          CallFrame& top = TopFrame();
          const std::vector<Variant>& arguments = withTexts ? texts : std::vector<Variant>{};
          for (const Variant& argument : arguments) top.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
          top.valueStack.emplace_back();
          top.stackBase = 0;
          top.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
          const Variant id = kind == 10 ? Variant::Array(kVarVariant, {Variant::Long(5)}) : Variant::Long(5);
          ScriptValue object{kind, id, 0};
          ScriptValue result;
          try {
            ScriptObjectProperty(code, object, top.valueStackTop, result, mode, Variant::Text(u"a"), true);
          } catch (const KivError& error) {
            EXPECT_TRUE(AcceptedError(code, error)) << "kind " << kind << " " << code << " "
                                                    << FixedIdentifierName(code) << " raised " << error.Number()
                                                    << " " << error.what();
          } catch (const std::exception& other) {
            ADD_FAILURE() << "kind " << kind << " " << code << " " << FixedIdentifierName(code) << " let out "
                          << other.what();
          }
          while (scriptEngine.callTop >= 0) PopCallFrame();
          shell.quitRequest = false;
          shell.pendingRestart = false;
          shell.pendingSlotLoad = -1;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kiv::test
