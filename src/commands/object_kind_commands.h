#pragma once
// The identifiers one kind of object reference serves in the object executor,
// and the entry of each kind this file's families build. An entry locates its
// record from the reference and runs the case the code names; an identifier a
// kind does not name does nothing. Bound slots and answers are left on the
// call for the executor's common tail.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "commands/internal_call.h"
#include "commands/internal_selection.h"
#include "commands/object_executor.h"

namespace kiv {

// Code to case for one kind, built once from its named cases.
class ObjectCommandTable {
 public:
  explicit ObjectCommandTable(std::span<const InternalCommand> commands);
  // nullptr when the kind does not serve the code.
  InternalHandler For(std::int32_t code) const;
  // Runs the case of call.code, if any; true when there was one.
  bool Run(InternalCall& call) const;

 private:
  std::vector<InternalHandler> handlers_;
};

// The fixed identifier's code; raises when the name is not a fixed identifier.
std::int32_t ObjectCommandCode(std::string_view name);

// Raises a script error (number -1) with the text (RaiseObjectMessage).
[[noreturn]] void RaiseObjectError(const std::u16string& text);

// Entries of the game-data kinds.
void RunItemProperty(InternalCall& call);            // kind 22
void RunEffectProperty(InternalCall& call);          // kinds 23 and 36
void RunFontProperty(InternalCall& call);            // kind 37
void RunEquipmentAreaProperty(InternalCall& call);   // kind 27
void RunStatisticProperty(InternalCall& call);       // kind 28
void RunInputSetProperty(InternalCall& call);        // kind 29

// Entries of the party kinds. A team hands every identifier to the actor
// executor and fills the result itself.
void RunPartyProperty(InternalCall& call);        // kind 34
void RunPartyMemberProperty(InternalCall& call);  // kind 11
void RunTeamProperty(InternalCall& call);         // kind 10

// Entries of the map objects.
void RunDoorProperty(InternalCall& call);     // kind 13
void RunLightProperty(InternalCall& call);    // kind 17
void RunZoneProperty(InternalCall& call);     // kind 19
void RunSpawnProperty(InternalCall& call);    // kind 21
void RunSpeakerProperty(InternalCall& call);  // kind 30

// The named cases of each kind, for the coverage check of the vocabulary.
std::span<const InternalCommand> ItemCommands();           // kind 22
std::span<const InternalCommand> EffectCommands();         // kinds 23 and 36
std::span<const InternalCommand> FontCommands();           // kind 37
std::span<const InternalCommand> EquipmentAreaCommands();  // kind 27
std::span<const InternalCommand> StatisticCommands();      // kind 28
std::span<const InternalCommand> InputSetCommands();       // kind 29
std::span<const InternalCommand> PartyCommands();          // kind 34, before the controls
std::span<const InternalCommand> PartyControlCommands();   // kind 34
std::span<const InternalCommand> PartyMemberCommands();    // kind 11
std::span<const InternalCommand> DoorCommands();           // kind 13
std::span<const InternalCommand> LightCommands();          // kind 17
std::span<const InternalCommand> ZoneCommands();           // kind 19
std::span<const InternalCommand> SpawnCommands();          // kind 21
std::span<const InternalCommand> SpeakerCommands();        // kind 30

// Every code the object executor serves, with the kinds it serves it for
// (only kinds present in its kind table; a team serves what the actor
// executor serves).
std::vector<ServedIdentifier> ObjectExecutorServes();

// Every code the field and camera-view executor serves (kinds 26 and 33).
std::vector<ServedIdentifier> FieldViewExecutorServes();

}  // namespace kiv
