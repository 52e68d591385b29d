# Writes the sample package and plays it with kivplay: the Town hero's second
# Loaded script works out a motto, a colour, a sum in evaluated text and a
# heading at once, and after a pause of 100 ms adds the name of the party's
# leader (the party joins the Town after its Loaded scripts) and posts it all
# as a notice. After 30 ticks of 16 ms that notice is among those shown and
# no script wrote an error.
include(${CMAKE_CURRENT_LIST_DIR}/kivplay_sample.cmake)
make_sample_package()

play_sample(30 json)
string(JSON errors GET "${json}" scripts errorLog)
string(JSON count LENGTH "${json}" messageBoxes notices)
# Other sample scripts post notices of their own: this one must be among them.
set(found FALSE)
set(texts "")
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON text GET "${json}" messageBoxes notices ${i} text)
    string(APPEND texts " \"${text}\"")
    if(text STREQUAL "**a town of silver** -65408 10 3.14 Hero")
      set(found TRUE)
    endif()
  endforeach()
endif()
if(NOT found OR NOT errors STREQUAL "")
  message(FATAL_ERROR "notices: ${count}:${texts}; errors:\n${errors}")
endif()
