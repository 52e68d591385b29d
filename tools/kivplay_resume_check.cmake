# A saved game resumes exactly: kivplay plays the package for 2N ticks and
# saves after tick N; a second run loads that save and plays N ticks. Both end
# with the same "world" in the dump (characters, doors, spawns, projectiles,
# weather, fields). A third run of N ticks without the save shows that the
# world did change between tick N and tick 2N, so the comparison is not idle.
# Arguments: MAKE (package writer), PLAY (kivplay), WORK (scratch folder), N.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/game ${WORK}/data)
execute_process(COMMAND ${MAKE} ${WORK}/game/DATA.kRC RESULT_VARIABLE made OUTPUT_QUIET)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "writing the package failed: ${made}")
endif()
set(play ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/data HOME=${WORK} SDL_VIDEODRIVER=offscreen
  SDL_AUDIODRIVER=dummy ${PLAY} ${WORK}/game/DATA.kRC --step-ms 16)
math(EXPR twice "${N} * 2")

function(run_play name)
  execute_process(COMMAND ${play} ${ARGN} --json ${WORK}/${name}.json RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  file(READ ${WORK}/${name}.json json)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kivplay (${name}) exited ${result}\n${json}")
  endif()
  string(JSON world GET "${json}" world)
  set(${name}_json "${json}" PARENT_SCOPE)
  set(${name}_world "${world}" PARENT_SCOPE)
endfunction()

run_play(saving --ticks ${twice} --save-at ${N} ${WORK}/resume.kSV)
string(JSON saved_ok GET "${saving_json}" saved ok)
string(JSON saved_tick GET "${saving_json}" saved tick)
if(NOT saved_ok OR NOT saved_tick EQUAL ${N})
  string(JSON saved GET "${saving_json}" saved)
  message(FATAL_ERROR "the save after tick ${N} failed: ${saved}")
endif()
run_play(loaded --ticks ${N} --load ${WORK}/resume.kSV)
run_play(half --ticks ${N})

if(half_world STREQUAL saving_world)
  message(FATAL_ERROR "nothing changed between tick ${N} and tick ${twice}:\n${saving_world}")
endif()
if(NOT loaded_world STREQUAL saving_world)
  file(WRITE ${WORK}/saving-world.json "${saving_world}")
  file(WRITE ${WORK}/loaded-world.json "${loaded_world}")
  message(FATAL_ERROR "the loaded game ended elsewhere than the one that saved; compare "
    "${WORK}/saving-world.json with ${WORK}/loaded-world.json")
endif()
