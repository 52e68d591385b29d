#pragma once
// The main loop: once per iteration it polls input, lets the window system
// deliver its events, measures the tick, moves the pointer, advances the world
// and draws a frame, until the game is to end or an error escapes a step.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

struct SDL_Window;

namespace kiv {

// What the loop asks of the window system, the device and the audio output.
// The defaults work on the game window, the graphics device and the mixer;
// tests and the play harness replace single entries.
// The game window's SDL window while a game runs (the game window sets it).
extern SDL_Window* gameWindowHandle;

struct LoopPlatform {
  std::function<void()> DoEvents;
  std::function<bool()> DeviceExists;
  std::function<std::int32_t()> TestCooperativeLevel;
  std::function<bool()> ResetDevice;        // reset with the current presentation parameters
  std::function<bool()> GameWindowInFront;  // the game window has the input focus
  std::function<bool()> GameWindowMinimised;
  std::function<void(std::int32_t& width, std::int32_t& height)> ClientSize;
  // The system cursor in the game window's client coordinates.
  std::function<void(std::int32_t& x, std::int32_t& y)> CursorClientPosition;
  std::function<void(bool show)> ShowSystemCursor;
  std::function<void()> AudioStart;
  std::function<void()> AudioPause;
  std::function<void(std::int32_t milliseconds)> AudioUpdate;
  LoopPlatform() { Reset(); }
  void Reset();
};
extern LoopPlatform loopPlatform;

// Runs until quitRequest or an escaped error (logged and shown, then returns).
void MainLoop();
// Measures the tick into frameElapsed (capped by the frame-rate limit), moves
// the tick base on, resumes the audio and renders twice the tick of it.
void UpdateTickTime();

// The loop error report of an error number, activity and step.
std::string LoopErrorLine(std::int32_t number, const std::string& activity, std::int32_t step);
// Our error number of an exception escaping a step: a KivError's own, else 9
// for an index outside a table, 7 for memory, 6 for an overflow, 11 for a
// division by zero, 51 for anything else.
std::int32_t ErrorNumberOf(std::exception_ptr error, std::string& message);

}  // namespace kiv
