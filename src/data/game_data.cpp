#include "data/game_data.h"

#include "core/error.h"

namespace kiv {

GameData gameData;
DataSettings dataSettings;
SetExtents setExtents;

namespace {
[[noreturn]] void RaiseBadMapIndex() { RaiseError(kErrIndex, "Subscript out of range"); }
}  // namespace

Map& MapTable::operator[](std::int32_t index) {
  if (index < -1 || index > LastIndex()) RaiseBadMapIndex();
  return entries_[static_cast<std::size_t>(index + 1)];
}

const Map& MapTable::operator[](std::int32_t index) const {
  if (index < -1 || index > LastIndex()) RaiseBadMapIndex();
  return entries_[static_cast<std::size_t>(index + 1)];
}

std::int32_t MapTable::Append() {
  entries_.emplace_back();
  return LastIndex();
}

void MapTable::RemoveLast() {
  if (entries_.size() > 1) entries_.pop_back();
}

void MapTable::Reset() {
  entries_.clear();
  entries_.emplace_back();
}

}  // namespace kiv
