# Writes the sample package and plays it with kivplay: the Town hero's music
# script locks the music, plays "Chime" (a quarter of a second) once and waits
# for its end. After 2 ticks of 16 ms it still waits: the music is locked and
# its end not yet signalled. After 30 ticks the song has ended and keeps its
# place in the music list, the script went on and unlocked the music (the
# screen is 800 pixels wide and the HUD shown), and no script wrote an error.
include(${CMAKE_CURRENT_LIST_DIR}/kivplay_sample.cmake)
make_sample_package()

function(play ticks expectedLocked expectedEnded)
  play_sample(${ticks} json)
  string(JSON locked GET "${json}" music locked)
  string(JSON ended GET "${json}" music ended)
  string(JSON memorized GET "${json}" music memorized)
  string(JSON playing GET "${json}" music playing)
  string(JSON errors GET "${json}" scripts errorLog)
  string(REGEX REPLACE "[ \n]" "" playing "${playing}")
  if(NOT locked STREQUAL expectedLocked OR NOT ended STREQUAL expectedEnded OR NOT memorized EQUAL 1
     OR NOT playing STREQUAL "[\"Chime\"]" OR NOT errors STREQUAL "")
    message(FATAL_ERROR "after ${ticks} ticks: locked ${locked} (expected ${expectedLocked}), ended ${ended} "
      "(expected ${expectedEnded}), memorized ${memorized}, playing ${playing}, errors:\n${errors}")
  endif()
endfunction()

play(2 ON OFF)
play(30 OFF ON)
