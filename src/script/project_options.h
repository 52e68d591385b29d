#pragma once
// The option flags of the project settings that the script engine reads.
namespace kiv {

// Option flag 23: names, keywords and text comparisons are trimmed and
// lower-cased on both sides before they are compared.
bool ScriptLooseNameMatching();

// Option flag 19: "main" always means the current player's controlled party
// member, also in a script that relates to another player's character.
bool ScriptMainAlwaysControlled();

// Option flag 20: "P" + n and "p" + n (and for party members n alone) name
// party member n.
bool ScriptPartyShortcutNames();

}  // namespace kiv
