// kivplay: the play harness. Runs the real player headless on a fake clock:
// the start window with a package, a new game (button 0) or a save, a number
// of main-loop ticks of fixed length with scripted input injected as SDL
// events, then the shut-down; writes the last frame as a PNG and a JSON dump.
#include <SDL.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "kivplay_dump_fields.h"
#include "kivplay_dump_shell.h"
#include "core/folders.h"
#include "kivplay_dump_boxes.h"
#include "kivplay_dump_party.h"
#include "core/hooks.h"
#include "core/random.h"
#include "core/text_encoding.h"
#include "media/graphics.h"
#include "platform/input/scancode_table.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/game_window.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "runtime/runtime_startup.h"
#include "state/game_state.h"

#include "kivplay_dump_camera.h"
#include "kivplay_dump_focus.h"
#include "kivplay_dump_maps.h"
#include "kivplay_dump_weather.h"
#include "kivplay_dump_actors.h"
#include "kivplay_dump_projectiles.h"
#include "kivplay_dump_scripts.h"
#include "kivplay_dump_world.h"
#include "kivplay_dump_music.h"
#include "state/save_game.h"

// Mesa's GL drivers keep allocations past their context; the leak checker of
// sanitizer builds would turn them into a failing exit status.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

using json = nlohmann::json;
using namespace kiv;

constexpr const char* kUsage =
    "usage: kivplay PACKAGE [--ticks N] [--step-ms MS] [--seed S] [--input FILE] [--load SAVE]\n"
    "               [--save-at TICK FILE] [--png FILE] [--pick-png FILE] [--json FILE]\n"
    "\n"
    "Runs the player headless on a fake clock: the start window with PACKAGE, then a new\n"
    "game (its first button) or the save given with --load, then N main-loop ticks of MS\n"
    "milliseconds (defaults: 60 ticks of 16 ms, seed 1, no input, no files written).\n"
    "After the last frame the back buffer goes to the PNG file, the game is ended and the\n"
    "dump goes to the JSON file: ticks and their lengths, playTime, the loop-error line,\n"
    "log.txt, boxes shown, texts spoken, URLs opened, window and screen state, every\n"
    "shown field's screen and text rectangle, every view field's camera, the game's\n"
    "message boxes and notices (\"messageBoxes\") and the shell's resources, loading\n"
    "texts, activities, inputs and interfaces (\"shell\"), the last frame's size and the\n"
    "number of its pixels that are not black (\"frame\"), all at the last frame; the\n"
    "players and parties (\"party\"), characters and projectiles as the main loop left them.\n"
    "--pick-png writes that frame's pick image (pick pass 1) as a second PNG.\n"
    "--save-at saves the running game to FILE with the player's own SaveGame right after\n"
    "the TICK-th tick (1 or more, its frame drawn); \"saved\" in the dump says how that\n"
    "went. \"world\" holds the maps' characters, doors, spawns, projectiles, weather and\n"
    "fields at the last frame: a run of 2N ticks that saves at N and a run of N ticks\n"
    "loaded from that save end with the same world.\n"
    "Exit status: 0 when the ticks ran, 2 after a loop error, 1 when the game ended\n"
    "earlier or never started.\n"
    "\n"
    "Input script: one event per line, '#' starts a comment. TICK is the 0-based tick of\n"
    "the fake clock since the main loop began (MS milliseconds each; one loop iteration\n"
    "per tick, paused or not): the window events of the iteration that reaches it carry\n"
    "the event. Relative paths are taken from the folder kivplay was started in.\n"
    "  TICK key down KEY       KEY: an SDL key name (Return, Left Alt, A, F1 ...) or a\n"
    "  TICK key up KEY         key code number (1 Escape, 28 Return, 56 Left Alt ...)\n"
    "  TICK text TEXT          typed text (UTF-8, the rest of the line)\n"
    "  TICK move DX DY         mouse motion by DX, DY pixels\n"
    "  TICK button down N      mouse button N: 1 left, 2 middle, 3 right, 4, 5 extra\n"
    "  TICK button up N\n"
    "  TICK wheel N            wheel notches, positive away from the user\n"
    "  TICK focus lost         the game window loses the input focus\n"
    "  TICK focus back         and gets it back\n"
    "  TICK close              the game window's close box\n"
    "  TICK menu save|load     opens the save or load slot menu as the game's commands do\n"
    "  TICK resize W H         drags the window's frame to a client area of W x H pixels\n"
    "                          (nothing happens when the window cannot be resized)\n"
    "  TICK sysmenu maximize|restore  the window's system-menu command (maximize only\n"
    "                          when the window has a maximize box)\n";

struct Options {
  std::string package;
  int ticks = 60;
  int stepMs = 16;
  std::uint64_t seed = 1;
  std::string input;
  std::string load;
  std::string png;
  std::string pickPng;  // the pick image (pick pass 1) of the last frame
  std::string json;
  int saveAt = -1;  // the number of ticks after which the game is saved, -1 never
  std::string saveTo;
};

struct ScriptEvent {
  int tick = 0;
  std::string kind;  // key, text, move, button, wheel, focus, close
  std::vector<std::string> words;
  std::string rest;  // text after the command
  int line = 0;
};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "kivplay: %s\n%s", message.c_str(), kUsage);
  std::exit(64);
}

int ParseInt(const std::string& text, const std::string& what) {
  try {
    std::size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used != text.size()) throw std::invalid_argument(text);
    return value;
  } catch (const std::exception&) {
    Fail("not a number for " + what + ": " + text);
  }
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) Fail(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--ticks") {
      options.ticks = ParseInt(value(), arg);
    } else if (arg == "--step-ms") {
      options.stepMs = ParseInt(value(), arg);
    } else if (arg == "--seed") {
      options.seed = static_cast<std::uint64_t>(ParseInt(value(), arg));
    } else if (arg == "--input") {
      options.input = value();
    } else if (arg == "--load") {
      options.load = value();
    } else if (arg == "--save-at") {
      options.saveAt = ParseInt(value(), arg);
      // The player changes its working folder: the file is where kivplay started.
      options.saveTo = std::filesystem::absolute(value()).lexically_normal().string();
    } else if (arg == "--png") {
      options.png = value();
    } else if (arg == "--pick-png") {
      options.pickPng = value();
    } else if (arg == "--json") {
      options.json = value();
    } else if (!arg.empty() && arg[0] == '-') {
      Fail("unknown option " + arg);
    } else if (options.package.empty()) {
      options.package = arg;
    } else {
      Fail("more than one package");
    }
  }
  if (options.package.empty()) Fail("no package");
  // The player changes its working folder: every path means what it meant where kivplay started.
  for (std::string* path : {&options.package, &options.input, &options.load, &options.png, &options.pickPng,
                            &options.json}) {
    if (!path->empty()) *path = std::filesystem::absolute(*path).lexically_normal().string();
  }
  if (options.ticks < 0) Fail("--ticks must not be negative");
  if (options.stepMs < 1) Fail("--step-ms must be at least 1");
  if (options.saveTo.empty() != (options.saveAt < 0) || options.saveAt == 0)
    Fail("--save-at needs a tick of at least 1 and a file");
  return options;
}

std::vector<ScriptEvent> ReadInputScript(const std::string& path) {
  std::ifstream file(path);
  if (!file) Fail("cannot read the input script " + path);
  std::vector<ScriptEvent> events;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t hash = line.find('#');
    std::string body = line.substr(0, hash);
    std::istringstream words(body);
    std::string tick;
    ScriptEvent event;
    if (!(words >> tick)) continue;
    event.line = number;
    event.tick = ParseInt(tick, "the tick in line " + std::to_string(number));
    if (!(words >> event.kind)) Fail("no event in line " + std::to_string(number));
    if (event.kind == "text") {
      // The rest of the whole line: the text may hold '#' and blanks.
      const std::size_t at = line.find("text") + 4;
      event.rest = at < line.size() ? line.substr(at + 1) : std::string();
      if (event.rest.empty()) Fail("no text in line " + std::to_string(number));
    } else {
      for (std::string word; words >> word;) event.words.push_back(word);
    }
    static const std::map<std::string, std::size_t> kMinWords = {{"key", 2},    {"move", 2},  {"button", 2},
                                                                  {"wheel", 1},  {"focus", 1}, {"close", 0},
                                                                  {"text", 0},   {"menu", 1},
                                                                  {"resize", 2}, {"sysmenu", 1}};
    const auto known = kMinWords.find(event.kind);
    if (known == kMinWords.end()) Fail("unknown event '" + event.kind + "' in line " + std::to_string(number));
    if (event.words.size() < known->second) Fail("too few words in line " + std::to_string(number));
    events.push_back(std::move(event));
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.tick < b.tick; });
  return events;
}

// A key by SDL name, or by key code (the number the game's bindings use).
SDL_Scancode ScancodeOf(const std::vector<std::string>& words, std::size_t first, int line) {
  std::string name;
  for (std::size_t i = first; i < words.size(); ++i) name += (i > first ? " " : "") + words[i];
  const bool numeric = !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
  if (numeric) {
    const int code = ParseInt(name, "the key code in line " + std::to_string(line));
    for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode) {
      if (input::KeyCodeFromScancode(scancode) == code) return static_cast<SDL_Scancode>(scancode);
    }
    Fail("no key has the code " + name + " (line " + std::to_string(line) + ")");
  }
  const SDL_Scancode scancode = SDL_GetScancodeFromName(name.c_str());
  if (scancode == SDL_SCANCODE_UNKNOWN) Fail("unknown key '" + name + "' in line " + std::to_string(line));
  return scancode;
}

// What the harness tracks of the game window and records of the run.
struct Run {
  Options options;
  std::vector<ScriptEvent> events;
  os::FakeClock clock{100000};
  int ticks = 0;
  std::vector<int> tickLengths;
  // The fake clock's time when the main loop first pumped its events, and
  // how many script events were injected so far (the script is in tick order).
  std::uint32_t loopStart = 0;
  std::size_t nextEvent = 0;
  bool maximized = false;
  int restoreWidth = 0;
  int restoreHeight = 0;
  bool focused = true;
  int pointerX = 0;
  int pointerY = 0;
  json boxes = json::array();
  json spoken = json::array();
  json urls = json::array();
  json window = nullptr;
  json screen = nullptr;
  bool gameStarted = false;
  bool pngWritten = false;
  bool pickPngWritten = false;
  json fields = json::array();
  // The world as the main loop left it, taken before the game's end resets the data.
  bool loopRan = false;
  bool worldTaken = false;
  json frame = nullptr;  // the last frame's size and lit pixels
  json party = nullptr;
  json characters = nullptr;
  json projectiles = nullptr;
  json saved = nullptr;
};
Run run;

// The save of --save-at, made as the game's own save commands make it.
void SaveAtTick() {
  json result = {{"tick", run.ticks}, {"file", run.options.saveTo}};
  try {
    SaveGame(run.options.saveTo);
    result["ok"] = true;
  } catch (const std::exception& e) {
    result["ok"] = false;
    result["error"] = e.what();
  }
  run.saved = result;
}

std::uint32_t GameWindowId() { return gameWindowHandle != nullptr ? SDL_GetWindowID(gameWindowHandle) : 0; }

void PushWindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = GameWindowId();
  event.window.event = static_cast<Uint8>(id);
  SDL_PushEvent(&event);
}

// The window's system menu: a window that cannot be resized has no maximize
// box, so its menu offers no Maximize. The headless video driver keeps no
// window states: a maximized window takes the display's size, a restore
// gives the size it had before.
void SystemMenuCommand(const ScriptEvent& e) {
  const std::string& command = e.words[0];
  if (command != "maximize" && command != "restore") {
    Fail("sysmenu needs maximize or restore in line " + std::to_string(e.line));
  }
  if (gameWindowHandle == nullptr) return;
  if (command == "maximize") {
    if ((SDL_GetWindowFlags(gameWindowHandle) & SDL_WINDOW_RESIZABLE) == 0 || run.maximized) return;
    SDL_GetWindowSize(gameWindowHandle, &run.restoreWidth, &run.restoreHeight);
    SDL_DisplayMode display{};
    if (SDL_GetDesktopDisplayMode(0, &display) != 0) return;
    run.maximized = true;
    SDL_MaximizeWindow(gameWindowHandle);
    SDL_SetWindowSize(gameWindowHandle, display.w, display.h);
  } else if (run.maximized) {
    run.maximized = false;
    SDL_RestoreWindow(gameWindowHandle);
    SDL_SetWindowSize(gameWindowHandle, run.restoreWidth, run.restoreHeight);
  }
}

void Inject(const ScriptEvent& e) {
  SDL_Event event{};
  const std::uint32_t window = GameWindowId();
  if (e.kind == "key") {
    const bool down = e.words[0] == "down";
    if (!down && e.words[0] != "up") Fail("key needs down or up in line " + std::to_string(e.line));
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = window;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = ScancodeOf(e.words, 1, e.line);
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    SDL_PushEvent(&event);
  } else if (e.kind == "text") {
    event.type = SDL_TEXTINPUT;
    event.text.windowID = window;
    std::snprintf(event.text.text, sizeof(event.text.text), "%s", e.rest.c_str());
    SDL_PushEvent(&event);
  } else if (e.kind == "move") {
    const int dx = ParseInt(e.words[0], "move");
    const int dy = ParseInt(e.words[1], "move");
    run.pointerX += dx;
    run.pointerY += dy;
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = window;
    event.motion.x = run.pointerX;
    event.motion.y = run.pointerY;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    SDL_PushEvent(&event);
  } else if (e.kind == "button") {
    const bool down = e.words[0] == "down";
    if (!down && e.words[0] != "up") Fail("button needs down or up in line " + std::to_string(e.line));
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = window;
    event.button.button = static_cast<Uint8>(ParseInt(e.words[1], "button"));
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = run.pointerX;
    event.button.y = run.pointerY;
    SDL_PushEvent(&event);
  } else if (e.kind == "wheel") {
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = window;
    event.wheel.y = ParseInt(e.words[0], "wheel");
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
  } else if (e.kind == "focus") {
    run.focused = e.words[0] == "back";
    if (!run.focused && e.words[0] != "lost") Fail("focus needs lost or back in line " + std::to_string(e.line));
    PushWindowEvent(run.focused ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
  } else if (e.kind == "close") {
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  } else if (e.kind == "menu" && !harness::OpenMenuFromScript(e.words[0])) {
    Fail("menu needs save or load in line " + std::to_string(e.line));
  } else if (e.kind == "resize") {
    const int width = ParseInt(e.words[0], "resize");
    const int height = ParseInt(e.words[1], "resize");
    if (width < 1 || height < 1) Fail("resize needs a size of at least 1 x 1 in line " + std::to_string(e.line));
    if (gameWindowHandle != nullptr && (SDL_GetWindowFlags(gameWindowHandle) & SDL_WINDOW_RESIZABLE) != 0) {
      SDL_SetWindowSize(gameWindowHandle, width, height);
    }
  } else if (e.kind == "sysmenu") {
    SystemMenuCommand(e);
  }
}

json WindowState() {
  json state;
  state["caption"] = AnsiToUtf8(frmMain.caption);
  state["visible"] = frmMain.IsVisible();
  state["focused"] = run.focused;
  if (gameWindowHandle != nullptr) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(gameWindowHandle, &width, &height);
    const std::uint32_t flags = SDL_GetWindowFlags(gameWindowHandle);
    state["clientWidth"] = width;
    state["clientHeight"] = height;
    state["resizable"] = (flags & SDL_WINDOW_RESIZABLE) != 0;
  }
  return state;
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::string*>(context);
  out->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

// The back buffer's size and how many of its pixels are not black: a frame
// that shows nothing has none.
json BackBufferSummary() {
  if (!graphics.direct3dDevice) return nullptr;
  gfx::SurfacePtr back;
  if (graphics.direct3dDevice->GetBackBuffer(back) != gfx::kOk || !back) return nullptr;
  const int width = static_cast<int>(back->Width());
  const int height = static_cast<int>(back->Height());
  gfx::LockedRect locked;
  if (width <= 0 || height <= 0 || back->LockRect(locked, nullptr, 0) != gfx::kOk) return nullptr;
  std::int64_t lit = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = locked.bits + static_cast<std::ptrdiff_t>(y) * locked.pitch;
    for (int x = 0; x < width; ++x) {
      if ((row[x * 4] | row[x * 4 + 1] | row[x * 4 + 2]) != 0) ++lit;
    }
  }
  back->UnlockRect();
  return {{"width", width}, {"height", height}, {"litPixels", lit}};
}

// The back buffer (BGRA rows) as a PNG file.
bool WriteBackBufferPng(const std::string& path) {
  if (!graphics.direct3dDevice) return false;
  gfx::SurfacePtr back;
  if (graphics.direct3dDevice->GetBackBuffer(back) != gfx::kOk || !back) return false;
  const int width = static_cast<int>(back->Width());
  const int height = static_cast<int>(back->Height());
  gfx::LockedRect locked;
  if (width <= 0 || height <= 0 || back->LockRect(locked, nullptr, 0) != gfx::kOk) return false;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = locked.bits + static_cast<std::ptrdiff_t>(y) * locked.pitch;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4];
      out[0] = row[x * 4 + 2];
      out[1] = row[x * 4 + 1];
      out[2] = row[x * 4 + 0];
      out[3] = 255;
    }
  }
  back->UnlockRect();
  std::string png;
  if (stbi_write_png_to_func(&AppendBytes, &png, width, height, 4, rgba.data(), width * 4) == 0) return false;
  std::ofstream file(path, std::ios::binary);
  file.write(png.data(), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(file);
}

void InstallHarness() {
  ui::SetMessageBoxRecorder([](const std::string& caption, const std::string& text, ui::BoxIcon icon) {
    static const char* const kIcons[] = {"error", "warning", "information"};
    run.boxes.push_back({{"caption", AnsiToUtf8(caption)},
                         {"text", AnsiToUtf8(text)},
                         {"icon", kIcons[static_cast<int>(icon)]}});
  });
  ui::SetOpenUrlRecorder([](const std::string& url) { run.urls.push_back(url); });
  // A voice that records what it is given to speak.
  startWindowDevices.SpeechCreateVoice = [] { return 0; };
  startWindowDevices.SpeechGetVoiceCount = [] { return 1; };
  startWindowDevices.SpeechSelectVoice = [](std::int32_t) {};
  startWindowDevices.SpeechSetRate = [](std::int32_t) {};
  startWindowDevices.SpeechSetVolume = [](std::int32_t) {};
  startWindowDevices.SpeechRelease = [] {};
  startWindowDevices.SpeechSpeak = [](const std::u16string& text, std::int32_t) {
    run.spoken.push_back(Utf16ToUtf8(text));
  };
  startWindowDevices.StartGame = [](const std::string& savePath) {
    run.gameStarted = true;
    frmMain.Start(savePath);
  };

  loopPlatform.GameWindowInFront = [] { return run.focused; };
  loopPlatform.CursorClientPosition = [](std::int32_t& x, std::int32_t& y) {
    x = run.pointerX;
    y = run.pointerY;
  };
  // Each iteration of the loop lasts the step: its own Sleep(1) and the rest here.
  loopPlatform.DoEvents = [] {
    if (shell.mainLoopRunning) {
      if (!run.loopRan) run.loopStart = run.clock.TickCount();
      run.loopRan = true;
      // Ticks of the fake clock, not drawn frames: a paused game draws none.
      const auto tick = static_cast<int>((run.clock.TickCount() - run.loopStart) /
                                         static_cast<std::uint32_t>(run.options.stepMs));
      run.clock.Advance(static_cast<std::uint32_t>(run.options.stepMs - 1));
      while (run.nextEvent < run.events.size() && run.events[run.nextEvent].tick <= tick) {
        Inject(run.events[run.nextEvent++]);
      }
    }
    ui::DoEvents();
  };
  const auto worldUpdate = playerHooks.WorldUpdate;
  // The loading screen runs ticks and frames of its own; only the main loop's count.
  playerHooks.WorldUpdate = [worldUpdate] {
    if (!shell.loadingTick) run.tickLengths.push_back(shell.frameElapsed);
    worldUpdate();
  };
  // The game's end unloads the resources first and then resets the data.
  const auto unloadResources = playerHooks.UnloadResources;
  playerHooks.UnloadResources = [unloadResources](std::int32_t groups) {
    if (run.loopRan && !run.worldTaken) {
      run.worldTaken = true;
      run.party = harness::PartyDump();
      run.characters = kivplay::ActorsDump();
      run.projectiles = kivplay::ProjectilesDump();
    }
    unloadResources(groups);
  };
  const auto drawFrame = playerHooks.DrawFrame;
  playerHooks.DrawFrame = [drawFrame] {
    drawFrame();
    if (shell.loadingTick) return;
    if (++run.ticks == run.options.saveAt) SaveAtTick();
    if (run.ticks < run.options.ticks) return;
    kivplay::CaptureWorld();
    CaptureViewCameras();
    CaptureMapData();
    kivplay::CaptureWeather();
    kivplay::CaptureScripts();
    kivplay::CaptureMusic();
    run.window = WindowState();
    run.screen = {{"width", graphics.videoWidth},
                  {"height", graphics.videoHeight},
                  {"windowed", graphics.videoWindowed}};
    harness::CaptureBoxes();
    harness::CaptureInterfaceFocus();
    run.frame = BackBufferSummary();
    if (!run.options.png.empty()) run.pngWritten = WriteBackBufferPng(run.options.png);
    run.fields = DumpShownFields();
    if (!run.options.pickPng.empty()) run.pickPngWritten = DrawPickImage() && WriteBackBufferPng(run.options.pickPng);
    shell.quitRequest = true;
  };
}

std::vector<std::string> ReadLog(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(AnsiToUtf8(line));
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  run.options = ParseOptions(argc, argv);
  if (!run.options.input.empty()) run.events = ReadInputScript(run.options.input);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);

  os::SetClock(&run.clock);
  RuntimeStartUp();
  InstallHarness();
  kivplay::InstallShellDump();
  kivplay::InstallActorsDump();

  bool started = frmStart.Initialize(run.options.package);
  RandomSeed(run.options.seed);
  if (started) {
    frmStart.Show();
    started = frmStart.IsLoaded();
  }
  if (started) {
    if (!run.options.load.empty()) {
      frmStart.Unload();
      run.gameStarted = true;
      frmMain.Start(run.options.load);
    } else {
      frmStart.buttonAction_Click(0);
    }
  }
  // The game is over and the start window back: leave as its Quit button does.
  if (frmStart.IsLoaded()) frmStart.buttonAction_Click(9);

  const std::string logPath = JoinPath(GetUserGameFolder(), "log.txt");
  const std::vector<std::string> log = ReadLog(logPath);
  json loopError = nullptr;
  for (const std::string& line : log) {
    if (line.rfind("Loop error #", 0) == 0) loopError = line;
  }
  int exitCode = 1;
  if (!loopError.is_null()) {
    exitCode = 2;
  } else if (run.gameStarted && run.ticks >= run.options.ticks) {
    exitCode = 0;
  }

  json dump;
  dump["cameras"] = CapturedViewCameras();  // every view field's camera at the last frame
  dump["maps"] = CapturedMapData();  // map preparation as the last frame saw it
  dump["package"] = run.options.package;
  dump["exitCode"] = exitCode;
  dump["ticks"] = run.ticks;
  dump["tickLengths"] = run.tickLengths;
  dump["playTime"] = gameState.playTime;
  dump["loopError"] = loopError;
  dump["log"] = log;
  dump["boxes"] = run.boxes;
  dump["spoken"] = run.spoken;
  dump["urls"] = run.urls;
  dump["window"] = run.window;
  dump["screen"] = run.screen;  // as the last frame saw it
  harness::AddBoxesDump(dump);
  harness::AddInterfaceFocusDump(dump);
  dump["png"] = run.pngWritten ? json(run.options.png) : json(nullptr);
  dump["frame"] = run.frame;
  dump["fields"] = run.fields;
  dump["pickPng"] = run.pickPngWritten ? json(run.options.pickPng) : json(nullptr);
  dump["shell"] = kivplay::ShellDump();
  dump["party"] = run.party;  // as the main loop left them (null when it never ran)
  dump["characters"] = run.characters;
  dump["weather"] = kivplay::WeatherDump();  // clouds, rain, doors and lights per map
  dump["projectiles"] = run.projectiles;
  dump["scripts"] = kivplay::ScriptsDump();  // globals and the error log the scripts left
  dump["music"] = kivplay::MusicDump();  // the music list as the last frame saw it
  dump["saved"] = run.saved;
  dump["world"] = kivplay::WorldDump();
  if (!run.options.json.empty()) {
    std::ofstream file(run.options.json);
    file << dump.dump(2) << "\n";
  }
  os::SetClock(nullptr);
  return exitCode;
}
