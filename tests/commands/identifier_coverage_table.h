#pragma once
// Who serves each of the 715 fixed identifiers: the internal executor (with
// the keywords it runs before its selection and the names its fall-back hands
// on), the actor executor, the field and camera-view executor, the object
// executor with its kinds, or nobody on purpose ("inert", with the reason).
// Codes are written as lists of numbers and ranges.
#include <cstdint>
#include <string_view>
#include <vector>

namespace kiv::coverage {

enum class Server {
  kInternal,  // a case of the internal selection, no object
  kKeyword,   // a keyword the internal executor runs first, without arguments
  kForward,   // no case: the fall-back strips the prefix and hands the rest on
  kKinds,     // the actor, field/view or object executor for the kinds listed
  kInert,     // served by nobody on purpose
};

struct CoverageRow {
  Server server;
  std::string_view codes;           // "1, 24, 132-148"
  std::vector<std::int32_t> kinds;  // kKinds: the object kinds; kForward: the target kind
  std::string_view note;            // kForward: the prefix; kInert: the reason
};

inline const std::vector<CoverageRow>& CoverageTable() {
  static const std::vector<CoverageRow> table = {
      {Server::kInternal,
       "1, 24, 37, 49, 61, 63, 86, 132-148, 150, 156, 159, 162, 168, 179, 181-191, 206, 215-244, 296-330, "
       "332-335, 361-382, 393, 395, 406, 410, 417-538, 586-599, 602-607, 613, 627-630, 679",
       {},
       ""},
      {Server::kKeyword, "149, 161, 331, 408, 409", {}, "DOORACTION, Exit, Quit, TURRETMAIN, VEHICLEMAIN"},
      {Server::kForward, "336-360, 614-622", {33}, "Screen."},
      {Server::kForward, "671-678, 680-688", {34}, "Main."},
      // Actors, characters, vehicles, turrets, dynamic objects, and teams
      // through the object executor.
      {Server::kKinds, "2-23, 25-117, 119-131, 161, 170, 396-405, 407, 411, 610", {31, 9, 12, 14, 15, 10}, ""},
      {Server::kKinds, "10, 11, 44, 70-73, 77, 78, 82-84, 90, 93, 100-102, 121, 156-158, 163-178", {26}, "field"},
      {Server::kKinds, "13-15, 100-102, 197, 205, 689-705, 713, 714", {33}, "camera view"},
      {Server::kKinds, "9, 10, 20, 32, 70, 93, 100, 101, 157, 158, 172, 193-205, 265-295, 612", {8}, "map"},
      {Server::kKinds, "43, 64, 75, 245-252, 258-264", {34}, "party"},
      {Server::kKinds, "43, 70, 253-257", {11}, "party member"},
      {Server::kKinds, "10, 44, 70-72, 74, 82-84, 100-102, 151-155", {13}, "door"},
      {Server::kKinds, "10, 70, 77, 93, 121, 193, 611", {17}, "light"},
      {Server::kKinds, "45, 70, 71, 74, 77, 121, 411-416", {19}, "zone"},
      {Server::kKinds, "7, 100-102, 200, 383-392", {21}, "spawn"},
      {Server::kKinds, "77, 193, 394, 611", {30}, "speaker"},
      {Server::kKinds, "33, 37, 70, 86, 93, 160, 207-214", {22}, "item"},
      {Server::kKinds, "70, 93, 157, 158", {23, 36}, "effect and sprite"},
      {Server::kKinds, "70, 93, 180", {37}, "font"},
      {Server::kKinds, "70, 93, 160", {27, 28}, "equipment area and statistic"},
      {Server::kKinds, "192, 193", {29}, "input set"},
      {Server::kInert, "118", {}, "DirectionAngleX is left unhandled"},
      {Server::kInert, "539-585, 623-626", {}, "trigger event names, read by trigger records and the condition compiler"},
      {Server::kInert, "600-601", {}, "Trigger.Param1 and Trigger.Param2 have no body"},
      {Server::kInert, "608-609", {}, "Push and Slide do nothing"},
      {Server::kInert, "631-670", {}, "FileSystem., Database., Options., DevMain., Custom., DevGames, Play, Rename, "
                                      "Copy and Icon do nothing"},
      {Server::kInert, "706-712", {}, "camera-view members that do nothing"},
      {Server::kInert, "715", {}, "System.Last marks the end of the table"},
  };
  return table;
}

}  // namespace kiv::coverage
