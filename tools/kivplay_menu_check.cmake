# Writes the sample package and plays it with kivplay and a script that opens
# the save menu and chooses the second slot: at the last frame the rename
# prompt (box 20) is in charge over the slots (box 19), asking with the slot's
# default name.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/Sample ${WORK}/data)
execute_process(COMMAND ${MAKE} ${WORK}/Sample/DATA.kRC RESULT_VARIABLE made OUTPUT_QUIET)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "make_sample_package failed: ${made}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/data HOME=${WORK} SDL_VIDEODRIVER=offscreen
  SDL_AUDIODRIVER=dummy ${PLAY} ${WORK}/Sample/DATA.kRC --json ${WORK}/dump.json --ticks 30 --input ${INPUT}
  --png ${WORK}/last.png RESULT_VARIABLE result)
file(READ ${WORK}/dump.json json)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "kivplay exited ${result}\n${json}")
endif()
string(JSON state GET "${json}" messageBoxes state)
string(JSON count LENGTH "${json}" messageBoxes shown)
if(NOT state EQUAL 20 OR NOT count EQUAL 2)
  message(FATAL_ERROR "expected the rename prompt over the save slots, got state ${state}\n${json}")
endif()
string(JSON first GET "${json}" messageBoxes shown 0 index)
string(JSON selected GET "${json}" messageBoxes shown 0 selected)
string(JSON second GET "${json}" messageBoxes shown 1 index)
string(JSON input GET "${json}" messageBoxes shown 1 inputText)
if(NOT first EQUAL 19 OR NOT selected EQUAL 1 OR NOT second EQUAL 20 OR NOT input STREQUAL "Slot 2")
  message(FATAL_ERROR "boxes ${first} (slot ${selected}) and ${second} (\"${input}\")\n${json}")
endif()
