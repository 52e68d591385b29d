# Writes the sample package and plays it with kivplay: the Town hero's second
# Loaded script works out a motto, a colour, a sum in evaluated text and a
# heading at once, and after a pause of 100 ms reads the name of the party's
# leader (the party joins the Town after its Loaded scripts). After 30 ticks of
# 16 ms every value is in the game's globals and no script wrote an error.
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
string(JSON scripts GET "${json}" scripts)
string(JSON variables GET "${scripts}" variables)
string(JSON errors GET "${scripts}" errorLog)
foreach(pair "Motto=**a town of silver**" "Tint=-65408" "Sum=10" "Heading=3.14" "Leader=Hero")
  string(FIND "${pair}" "=" at)
  string(SUBSTRING "${pair}" 0 ${at} name)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${pair}" ${from} -1 expected)
  string(JSON value GET "${variables}" ${name})
  if(NOT value STREQUAL expected)
    message(FATAL_ERROR "${name} is \"${value}\", expected \"${expected}\"; errors:\n${errors}")
  endif()
endforeach()
if(NOT errors STREQUAL "")
  message(FATAL_ERROR "scripts wrote errors:\n${errors}")
endif()
