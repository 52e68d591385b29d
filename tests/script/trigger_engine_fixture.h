#pragma once
// A tiny world for trigger dispatch, waits and timed changes: one map with
// actors whose triggers hold scripts compiled from text, fake executors for
// waits, returns, custom events, marks and a few properties, and ticks that
// drive the Call Back and Lerp systems.
#include <map>
#include <string>
#include <vector>

#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/script_link.h"
#include "data/sets_linked.h"
#include "media/controls_table.h"
#include "script/condition_compiler.h"
#include "script/script_dispatch.h"
#include "script/pause_state.h"
#include "script/script_globals.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "script/trigger_dispatch.h"
#include "script/trigger_engine_setup.h"
#include "script/trigger_hooks.h"
#include "script/waits.h"
#include "script/world_systems.h"
#include "script_test_fixture.h"

namespace kiv::test {

class TriggerEngineTest : public ScriptEngineTest {
 protected:
  void SetUp() override {
    ScriptEngineTest::SetUp();
    triggerHooks.Reset();
    ResetTriggerEngine();
    InstallTriggerEngine();
    setsLinked = false;
    controls.clear();
    gameData.maps.Append();  // map 0

    // Pause(ms) and WaitAny(): wait requests; Return(v): return request.
    handlers_["Pause"] = [](const RecordedCall& call, ScriptValue& result) {
      result = ScriptValue{kValueControl,
                           ScriptMakeWaitRequest(1, call.arguments.at(0).AsLong(), -1, 0, -1, Variant::Long(-1), -1,
                                                 -1, -1),
                           0};
    };
    handlers_["WaitAny"] = [](const RecordedCall&, ScriptValue& result) {
      result = ScriptValue{kValueControl,
                           ScriptMakeWaitRequest(0, 0, -1, 0, -1, Variant::Long(-1), -1, -1, -1), 0};
    };
    handlers_["Return"] = [](const RecordedCall& call, ScriptValue& result) {
      result = ScriptValue{kValueControl, Variant::Array(kVarVariant, {Variant::Long(2), call.arguments.at(0)}), 0};
    };
    handlers_["Actor"] = [](const RecordedCall& call, ScriptValue& result) {
      const bool other = !call.arguments.empty() && call.arguments[0] == Variant::Text(u"other");
      result = ScriptValue{kObjectActor, Variant::Long(other ? 2 : 1), 0};
    };

    // Properties of the actor and internal names read and written through a store;
    // internal names are looked up among the frame's locals before the globals.
    const ScriptExecutor recorder = scriptHooks.internalExecutor;
    const ScriptExecutor store = [this, recorder](std::int32_t code, ScriptValue& object, std::int32_t upper,
                                                  ScriptValue& result, std::int16_t mode, const Variant& value,
                                                  bool lastToken) {
      const std::u16string name = SymbolName(code);
      if (object.kind == kObjectNone && name == u"MyEvent") {
        TriggerRun run;
        run.ownerKind = kOwnerCustomEvent;
        run.ownerIndex = 0;
        run.subIndex = 0;
        run.map = TopFrame().ownerMap;
        run.suspendRoot = 0;
        run.nested = lastToken;
        result.value = ScriptRunTrigger(run);
        return;
      }
      if (object.kind == kObjectNone && VariableStore(code, mode, value, result)) return;
      const std::string key = Utf16ToUtf8(name) + (upper >= 0 ? "/" + Utf16ToUtf8(VarToText(ScriptGetArgument(0))) : "");
      if (object.kind != kObjectNone && properties_.count(key) != 0) {
        if (mode == kModeAssign) {
          if (name == u"Explode") RaiseError(kErrData, "The property cannot take this value.");
          properties_[key] = value;
          assigned_[key].push_back(value);
        } else {
          result.value = properties_[key];
        }
        return;
      }
      recorder(code, object, upper, result, mode, value, lastToken);
    };
    scriptHooks.internalExecutor = store;
    scriptHooks.actorExecutor = store;
  }

  // Reads or assigns a local of the top frame or a global variable of the name.
  static bool VariableStore(std::int32_t code, std::int16_t mode, const Variant& value, ScriptValue& result) {
    Variant* slot = nullptr;
    for (ScriptVariable& local : TopFrame().locals) {
      if (local.symbol == code) slot = &local.value;
    }
    for (ScriptVariable& global : scriptGlobals.variables) {
      if (slot == nullptr && global.symbol == code) slot = &global.value;
    }
    if (slot == nullptr) return false;
    if (mode == kModeAssign) {
      *slot = value;
    } else {
      result.value = *slot;
    }
    return true;
  }

  // A script record as a loader leaves it: compiled, linked and registered.
  static Script MakeScript(const std::u16string& text, std::uint8_t exclusive = 0) {
    Script script;
    script.text = text;
    script.runOnce = exclusive;
    CompileScript(script);
    LinkScript(script, true);
    RegisterScript(script);
    return script;
  }

  // Adds an actor to map 0 with one trigger; returns the actor's index.
  std::int32_t AddActor(std::int32_t event, const std::u16string& text, std::vector<std::u16string> parameters = {},
                        std::uint8_t exclusive = 0) {
    Actor actor;
    Trigger trigger;
    trigger.event = event;
    trigger.parameters = std::move(parameters);
    trigger.script.text = text;
    trigger.script.runOnce = exclusive;
    BuildTriggerConditions(trigger);
    CompileScript(trigger.script);
    LinkScript(trigger.script, true);
    RegisterScript(trigger.script);
    actor.triggers.push_back(std::move(trigger));
    gameData.maps[0].actors.push_back(std::move(actor));
    return static_cast<std::int32_t>(gameData.maps[0].actors.size()) - 1;
  }

  Variant Raise(std::int32_t actor, std::int32_t relateActor = -1, std::int32_t trigger = 0) {
    TriggerRun run;
    run.ownerKind = kOwnerActor;
    run.ownerIndex = actor;
    run.subIndex = trigger;
    run.map = 0;
    run.relateActor = relateActor;
    return ScriptRunTrigger(run);
  }

  // One tick of the world update's script systems.
  void Tick(std::int32_t ms) {
    now_ += static_cast<std::uint32_t>(ms);
    triggerHooks.TickElapsed = [ms] { return ms; };
    RunCallBackSystem(ms, ms);
    RunLerpSystem(ms);
  }

  // The first arguments of the Mark calls so far.
  std::vector<Variant> Marks() const {
    std::vector<Variant> marks;
    for (const RecordedCall& call : calls_) {
      if (call.name == "Mark") marks.push_back(call.arguments.empty() ? Variant() : call.arguments[0]);
    }
    return marks;
  }

  std::int32_t GlobalVariable(const std::u16string& name, Variant value) {
    scriptGlobals.variables.push_back(ScriptVariable{SymbolIntern(name), std::move(value)});
    return static_cast<std::int32_t>(scriptGlobals.variables.size()) - 1;
  }

  std::map<std::string, Variant> properties_;
  std::map<std::string, std::vector<Variant>> assigned_;
};

}  // namespace kiv::test
