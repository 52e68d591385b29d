# What the sample-game checks share (cmake -P with MAKE, PLAY and WORK): the
# package written into a fresh ${WORK}/Sample, and headless runs of kivplay on
# it whose dump is read back.

# Writes the sample package into a fresh ${WORK}/Sample.
function(make_sample_package)
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK}/Sample ${WORK}/data)
  execute_process(COMMAND ${MAKE} ${WORK}/Sample/DATA.kRC RESULT_VARIABLE made OUTPUT_QUIET)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "make_sample_package failed: ${made}")
  endif()
endfunction()

# Plays the sample for the given ticks of 16 ms in a fresh user folder and
# puts the dump into the variable named by out; a failed run ends the check.
function(play_sample ticks out)
  file(REMOVE_RECURSE ${WORK}/data)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/data HOME=${WORK} SDL_VIDEODRIVER=offscreen
    SDL_AUDIODRIVER=dummy ${PLAY} ${WORK}/Sample/DATA.kRC --json ${WORK}/dump.json --ticks ${ticks} --step-ms 16
    RESULT_VARIABLE result)
  file(READ ${WORK}/dump.json json)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kivplay exited ${result}\n${json}")
  endif()
  set(${out} "${json}" PARENT_SCOPE)
endfunction()
