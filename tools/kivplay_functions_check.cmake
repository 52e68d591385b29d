# Writes the sample package and plays it with kivplay: the Town hero's second
# Loaded script works out a motto, a colour, a sum in evaluated text and a
# heading at once, and after a pause of 100 ms adds the name of the party's
# leader (the party joins the Town after its Loaded scripts) and posts it all
# as a notice. After 30 ticks of 16 ms that notice is the one shown and no
# script wrote an error.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/Sample ${WORK}/data)
execute_process(COMMAND ${MAKE} ${WORK}/Sample/DATA.kRC RESULT_VARIABLE made OUTPUT_QUIET)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "make_sample_package failed: ${made}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/data HOME=${WORK} SDL_VIDEODRIVER=offscreen
  SDL_AUDIODRIVER=dummy ${PLAY} ${WORK}/Sample/DATA.kRC --json ${WORK}/dump.json --ticks 30 --step-ms 16
  RESULT_VARIABLE result)
file(READ ${WORK}/dump.json json)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "kivplay exited ${result}\n${json}")
endif()
string(JSON errors GET "${json}" scripts errorLog)
string(JSON count LENGTH "${json}" messageBoxes notices)
set(text "")
if(count EQUAL 1)
  string(JSON text GET "${json}" messageBoxes notices 0 text)
endif()
if(NOT text STREQUAL "**a town of silver** -65408 10 3.14 Hero" OR NOT errors STREQUAL "")
  message(FATAL_ERROR "notices: ${count}, the first \"${text}\"; errors:\n${errors}")
endif()
