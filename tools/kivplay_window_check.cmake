# Writes the sample package and plays it with kivplay: a script that resizes
# the window and takes the focus away for ten ticks must still end after its
# 30 ticks (a paused game draws no frames) with the new size; the system
# menu's Maximize gives the window the display's size.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/Sample ${WORK}/data)
execute_process(COMMAND ${MAKE} ${WORK}/Sample/DATA.kRC RESULT_VARIABLE made OUTPUT_QUIET)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "make_sample_package failed: ${made}")
endif()
file(WRITE ${WORK}/maximize.txt "3 sysmenu maximize\n")
set(play ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/data HOME=${WORK} SDL_VIDEODRIVER=offscreen
  SDL_AUDIODRIVER=dummy ${PLAY} ${WORK}/Sample/DATA.kRC --ticks 30)

execute_process(COMMAND ${play} --input ${INPUT} --json ${WORK}/paused.json RESULT_VARIABLE result TIMEOUT 120)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the paused run exited with ${result}")
endif()
file(READ ${WORK}/paused.json json)
string(JSON ticks GET "${json}" ticks)
string(JSON width GET "${json}" screen width)
string(JSON height GET "${json}" screen height)
string(JSON focused GET "${json}" window focused)
if(NOT ticks EQUAL 30 OR NOT width EQUAL 640 OR NOT height EQUAL 480 OR NOT focused)
  message(FATAL_ERROR "paused run: ${ticks} ticks, screen ${width} x ${height}, focused ${focused}\n${json}")
endif()

execute_process(COMMAND ${play} --input ${WORK}/maximize.txt --json ${WORK}/maximized.json RESULT_VARIABLE result
  TIMEOUT 120)
file(READ ${WORK}/maximized.json json)
string(JSON width GET "${json}" screen width)
string(JSON height GET "${json}" screen height)
string(JSON clientWidth GET "${json}" window clientWidth)
if(NOT result EQUAL 0 OR width EQUAL 800 OR NOT width EQUAL clientWidth)
  message(FATAL_ERROR "maximized run: exit ${result}, screen ${width} x ${height}, window ${clientWidth}\n${json}")
endif()
