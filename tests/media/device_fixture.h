#pragma once
// The graphics globals with a hidden game window, the input object and a log
// file in a temporary folder; everything is released afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/quad_batcher.h"
#include "support/temp_dir.h"

namespace kiv {

struct Box {
  std::string text, title;
  BoxIcon icon;
};

class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    graphics.Reset();
    graphicsHooks.Reset();
    quadBatch.Reset();
    graphicsHooks.messageBox = [this](const std::string& text, const std::string& title, BoxIcon icon) {
      boxes.push_back({text, title, icon});
    };
    graphicsHooks.pickByColor = [this] { return pickByColor; };
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    ASSERT_EQ(InputCreateDirectInput(), 0);
    graphics.defaultVertexFormat = 0x1C4;
    graphics.videoWidth = 64;
    graphics.videoHeight = 48;
    window = std::make_unique<gfx::Window>("game", 32, 32, false, true);
    LogOpen(temp.File("log.txt"));
  }
  void TearDown() override {
    LogClose();
    inputDevices.Reset();
    graphics.Reset();
    graphicsHooks.Reset();
    window.reset();
  }

  std::vector<std::string> LogLines() {
    LogClose();
    const ByteList bytes = test::ReadTestFile(temp.File("log.txt"));
    std::vector<std::string> lines;
    std::string text(bytes.begin(), bytes.end()), line;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        lines.push_back(line);
        line.clear();
        ++i;
      } else {
        line += text[i];
      }
    }
    return lines;
  }

  test::TempDir temp;
  std::unique_ptr<gfx::Window> window;
  std::vector<Box> boxes;
  bool pickByColor = false;
};

}  // namespace kiv
