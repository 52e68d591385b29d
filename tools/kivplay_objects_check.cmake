# Writes the sample package and plays it with kivplay: the Town's second
# guard's Loaded script moves it to X 300, scales it by 1.5, writes
# "SCORE 1.5" into the HUD's score field, shows the HUD in front and posts
# what it reads back as a notice. After 30 ticks of 16 ms the guard is still
# at X 300 (it walks only downwards), the notice is among those shown and no
# script wrote an error.
include(${CMAKE_CURRENT_LIST_DIR}/kivplay_sample.cmake)
make_sample_package()

play_sample(30 json)
string(JSON errors GET "${json}" scripts errorLog)
if(NOT errors STREQUAL "")
  message(FATAL_ERROR "script errors:\n${errors}")
endif()

# The Town's actors in the order placed: the second guard is the third.
string(JSON maps LENGTH "${json}" characters maps)
set(guardX "")
math(EXPR lastMap "${maps} - 1")
foreach(m RANGE ${lastMap})
  string(JSON file GET "${json}" characters maps ${m} file)
  if(file STREQUAL "Town")
    string(JSON name GET "${json}" characters maps ${m} actors 2 name)
    string(JSON guardX GET "${json}" characters maps ${m} actors 2 x)
  endif()
endforeach()
if(NOT name STREQUAL "Guard 2" OR NOT guardX EQUAL 300)
  message(FATAL_ERROR "the Town's third actor: \"${name}\" at X ${guardX}, expected \"Guard 2\" at X 300")
endif()

# Other sample scripts post notices of their own: this one must be among them.
string(JSON count LENGTH "${json}" messageBoxes notices)
set(found FALSE)
set(texts "")
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON text GET "${json}" messageBoxes notices ${i} text)
    string(APPEND texts " \"${text}\"")
    if(text STREQUAL "Guard 2 at 300 scale 1.5 SCORE 1.5 on 1")
      set(found TRUE)
    endif()
  endforeach()
endif()
if(NOT found)
  message(FATAL_ERROR "notices: ${count}:${texts}")
endif()

# The score field is shown with its longer text: wider than "SCORE" alone.
string(JSON fields LENGTH "${json}" fields)
set(width "")
math(EXPR lastField "${fields} - 1")
foreach(f RANGE ${lastField})
  string(JSON fieldName GET "${json}" fields ${f} name)
  if(fieldName STREQUAL "Score")
    string(JSON width GET "${json}" fields ${f} textRect 2)
  endif()
endforeach()
if(width STREQUAL "" OR width LESS_EQUAL 81)
  message(FATAL_ERROR "the score field's text width: \"${width}\", expected wider than \"SCORE\" (81)")
endif()
