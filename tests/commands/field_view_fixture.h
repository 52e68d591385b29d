#pragma once
// The field and camera-view executor over the resolvers' small game: fields
// on the Hud interface (index 4), a view among them, sprite and font sets, and
// calls made from a running script's frame with plain arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/field_view_executor.h"
#include "data/game_data.h"
#include "render/field_camera.h"
#include "script/resolver_fixture.h"
#include "script/script_dispatch.h"
#include "script/timed_changes.h"
#include "script/trigger_hooks.h"

namespace kiv::test {

class FieldViewFixture : public ResolverTest {
 protected:
  void SetUp() override {
    ResolverTest::SetUp();
    triggerHooks.Reset();
    InstallFieldViewProperties();
    viewScroll.Reset();
    timedChanges.clear();
    gameData.maps[kTown].width = 19;  // 640 x 480 pixels
    gameData.maps[kTown].height = 14;
    for (const char16_t* name : {u"Star", u"Moon", u"Effect Glow"}) {
      gameData.spriteSets.emplace_back();
      gameData.spriteSets.back().name = name;
      gameData.spriteSets.back().poses.resize(1);  // a sprite starts on its first pose
    }
  }

  void TearDown() override {
    timedChanges.clear();
    viewScroll.Reset();
    triggerHooks.Reset();
    ResolverTest::TearDown();
  }

  static Field& FieldAt(std::int32_t map, std::int32_t field) {
    return gameData.maps[map].fields[static_cast<std::size_t>(field)];
  }

  // A field of the given kind on the Hud.
  static std::int32_t AddHudField(const std::u16string& name, std::uint8_t kind) {
    const std::int32_t field = AddField(kHud, name);
    FieldAt(kHud, field).kind = kind;
    return field;
  }

  // Calls the identifier on the object, with the arguments on the top frame.
  static ScriptValue Do(ScriptValue object, const std::u16string& name, const std::vector<Variant>& arguments = {},
                        std::int16_t mode = kModeRead, const Variant& value = Variant()) {
    CallFrame& frame = TopFrame();
    frame.valueStack.clear();
    for (const Variant& argument : arguments) frame.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
    frame.valueStack.emplace_back();
    frame.stackBase = 0;
    frame.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
    ScriptValue result;
    ScriptFieldViewProperty(SymbolIntern(name), object, static_cast<std::int32_t>(arguments.size()) - 1, result,
                            mode, value, true);
    return result;
  }

  static Variant Read(ScriptValue object, const std::u16string& name) { return Do(object, name).value; }

  static void Assign(ScriptValue object, const std::u16string& name, const Variant& value) {
    Do(object, name, {}, kModeAssign, value);
  }

  static ScriptValue FieldRef(std::int32_t field, std::int32_t map = kHud) { return Ref(kObjectField, field, map); }
  static ScriptValue ViewRef(std::int32_t field, std::int32_t map = kHud) {
    return Ref(kObjectCameraView, field, map);
  }
};

inline Variant L(std::int32_t v) { return Variant::Long(v); }
inline Variant T(const char16_t* v) { return Variant::Text(v); }

}  // namespace kiv::test
