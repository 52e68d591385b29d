#pragma once
// The shell's boxes and notices with every hook of the start-up installed,
// a user folder of its own, one player and a text layout that records its
// calls: one glyph per character, one line per text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/hooks.h"
#include "core/log.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "player/message_boxes.h"
#include "player/notices.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "runtime/runtime_startup.h"
#include "state/project_settings_block.h"
#include "support/temp_dir.h"

namespace kiv::test {

struct LayoutCall {
  std::int32_t fontSet;
  std::u16string text;
  std::int32_t width;
  float scale;
};

class BoxesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
    gameFolder = temp.File("games/BoxGame");
    gameFolderName = "BoxGame";
    shell.Reset();
    playerHooks.Reset();
    dataHooks.Reset();
    storedProjectSettings.Reset();
    graphics.Reset();
    gameData.fontSets.clear();
    notices.clear();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box = MessageBox{};
    projectState.players.assign(1, Player{});
    RuntimeStartUp();
    dataHooks.WrapText = [this](std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                                std::int32_t& lines, float scale) {
      layouts.push_back({fontSet, text, width, scale});
      lines = 1;
      return Glyphs(text);
    };
    LogOpen(temp.File("log.txt"));
  }
  void TearDown() override {
    LogClose();
    SetNoticeHook(nullptr);
    notices.clear();
    gameData.fontSets.clear();
    projectState.players.clear();
    for (MessageBox& box : messageBoxes) box = MessageBox{};
    messageBoxState = 0;
    playerHooks.Reset();
    dataHooks.Reset();
    storedProjectSettings.Reset();
    graphics.Reset();
    shell.Reset();
  }

  // What the recording layout makes of a text.
  static std::vector<std::int16_t> Glyphs(const std::u16string& text) {
    return std::vector<std::int16_t>(text.begin(), text.end());
  }
  static std::vector<std::int16_t> Glyphs(const std::string& ansi) {
    return std::vector<std::int16_t>(ansi.begin(), ansi.end());
  }

  std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    if (!std::filesystem::exists(path)) return lines;
    const ByteList bytes = ReadTestFile(path);
    const std::string text(bytes.begin(), bytes.end());
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
  // The log is written line by line without a buffer: it can be read while open.
  std::vector<std::string> LogLines() { return FileLines(temp.File("log.txt")); }
  std::vector<std::string> ErrorLogLines() { return FileLines(JoinPath(GetUserGameFolder(), "ERROR.LOG")); }

  TempDir temp;
  std::vector<LayoutCall> layouts;
};

}  // namespace kiv::test
