# Writes the sample package and plays it with kivplay: the Town hero's Loaded
# script keeps its ledger in the game's globals with collection, table and
# flow commands and a custom event. Before its pause of 100 ms ends (3 ticks of
# 16 ms) Gold holds 56; after it (30 ticks) 57, and no script wrote an error.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/Sample ${WORK}/data)
execute_process(COMMAND ${MAKE} ${WORK}/Sample/DATA.kRC RESULT_VARIABLE made OUTPUT_QUIET)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "make_sample_package failed: ${made}")
endif()

function(play ticks expectedGold)
  file(REMOVE_RECURSE ${WORK}/data)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/data HOME=${WORK} SDL_VIDEODRIVER=offscreen
    SDL_AUDIODRIVER=dummy ${PLAY} ${WORK}/Sample/DATA.kRC --json ${WORK}/dump.json --ticks ${ticks} --step-ms 16
    RESULT_VARIABLE result)
  file(READ ${WORK}/dump.json json)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kivplay exited ${result}\n${json}")
  endif()
  string(JSON scripts GET "${json}" scripts)
  string(JSON gold GET "${scripts}" variables Gold)
  string(JSON door GET "${scripts}" switches DoorOpen)
  string(JSON visited GET "${scripts}" collections Visited)
  string(JSON board GET "${scripts}" tables Board)
  string(JSON errors GET "${scripts}" errorLog)
  string(REGEX REPLACE "[ \n]" "" visited "${visited}")
  string(REGEX REPLACE "[ \n]" "" board "${board}")
  if(NOT gold STREQUAL expectedGold OR NOT door STREQUAL "OFF"
     OR NOT visited STREQUAL "[\"Gate\",\"Market\",\"Town\"]"
     OR NOT board STREQUAL "{\"cells\":[\"2\",\"1\",\"0\",\"0\",\"0\",\"3\"],\"size\":[3,2,1]}"
     OR NOT errors STREQUAL "")
    message(FATAL_ERROR "after ${ticks} ticks: Gold ${gold} (expected ${expectedGold}), DoorOpen ${door}, "
      "Visited ${visited}, Board ${board}, errors:\n${errors}")
  endif()
endfunction()

play(3 56)
play(30 57)
