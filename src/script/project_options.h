#pragma once
// The option flags of the project settings that the script engine reads.
namespace kiv {

// Option flag 23: names, keywords and text comparisons are trimmed and
// lower-cased on both sides before they are compared.
bool ScriptLooseNameMatching();

// Option flag 28: movement axis values are whole numbers -1, 0 or 1.
bool ScriptWholeAxisValues();

// Option flag 14: a character that cannot move may still jump, and take an
// upward velocity while vertical velocity is restricted.
bool ScriptAllowJumpWhenImmobile();

// Option flag 27: a character that cannot move takes no vertical velocity
// (unless jumping while immobile is allowed), and one it takes makes it jump.
bool ScriptRestrictVerticalVelocity();

// Option flag 19: "main" always means the current player's controlled party
// member, also in a script that relates to another player's character.
bool ScriptMainAlwaysControlled();

// Option flag 20: "P" + n and "p" + n (and for party members n alone) name
// party member n.
bool ScriptPartyShortcutNames();

// Option flag 24 (the project setting legacyMapSize): a map's size in pixels
// is its last tile index times 32 instead of its tile count times 32.
bool LegacyMapSize();

}  // namespace kiv
