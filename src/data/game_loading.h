#pragma once
// Loading a whole game from the package at the start of a game: the numbered
// set entries of every kind in order, the interfaces and the maps they
// reference, then linking and template inheritance.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

// What loading met on its way that did not stop it, for reports.
struct GameLoadLog {
  // Interface entries that failed to load and were dropped, with the error.
  std::vector<std::string> droppedInterfaces;
  // Template loops broken by clearing a parent.
  std::vector<std::string> brokenTemplateLoops;
  void Reset() { *this = GameLoadLog(); }
};
extern GameLoadLog gameLoadLog;

// Every set kind in order, then linking. True when every step ran; false when
// the quit flag stopped it (nothing after the stopping point is loaded or
// linked). A reader's error is raised with the entry's name before its message.
bool LoadAllSets(bool applyFlag);

void LoadActorTemplates();
void LoadInputSets();
// Font sets keep the table's contents and never yield.
void LoadFontSets();
// Sound sets yield on every 15th entry; their variations are placed at their
// absolute offsets in the package file.
void LoadSoundSets();

// Resolves the parents of the actor templates and applies each template after
// its parent. A template that is its own parent, or the second of two that
// name each other, loses its parent; a longer loop loses one parent with a log line.
void ResolveTemplateInheritance(bool applyFlag);

void LoadAllInterfaces();
void RelinkLoadedMaps();
void ResolveInputSetIds();
void ResolveSettingsTeam();

// The data steps of starting a game: font and sound sets, every set, the
// interfaces, relinking and the input sets. False when the quit flag stopped it.
bool LoadGameData();

}  // namespace kiv
