#include "state/state_hooks.h"

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/game_data_reset.h"
#include "state/state_block.h"

namespace kiv {

StateHooks stateHooks;

namespace {

// Reads a list whose last index must be -1: without the script engine there is
// nowhere to put entries.
void ReadEmptyList(const ByteList& buffer, std::int32_t& offset, const char* what) {
  if (BufferReadLong(buffer, offset) != -1) {
    RaiseError(kErrData, std::string("The save holds ") + what + " but no script engine is installed.");
  }
}

}  // namespace

void StateHooks::Reset() {
  ReadGlobalLists = [](const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
    ReadEmptyList(buffer, offset, "global variables");
    ReadEmptyList(buffer, offset, "global switches");
    ReadEmptyList(buffer, offset, "collections");
    if (version >= 100665) ReadEmptyList(buffer, offset, "tables");
  };
  WriteGlobalLists = [](ByteList& buffer, std::int32_t& offset) {
    for (int list = 0; list < 4; ++list) BufferWriteLong(buffer, -1, offset);
  };
  ReadScriptRunState = [](const ByteList& buffer, std::int32_t& offset, std::int32_t) {
    ReadEmptyList(buffer, offset, "waiting scripts");
    ReadEmptyList(buffer, offset, "timed changes");
  };
  WriteScriptRunState = [](ByteList& buffer, std::int32_t& offset) {
    BufferWriteLong(buffer, -1, offset);
    BufferWriteLong(buffer, -1, offset);
  };
  ReloadGameData = [](std::int32_t) {
    ResetGameData();
    LoadProjectState();
  };
  InitResources = [](std::uint32_t) {};
  ShowLoadingProgress = [](const std::string&, float) {};
  GenerateMapData = [](std::int32_t, std::int32_t) {};
  RefreshViewedMaps = [](std::int32_t) {};
  RunLoadEvent = [] {};
  ResetTickBase = [] {};
}

}  // namespace kiv
