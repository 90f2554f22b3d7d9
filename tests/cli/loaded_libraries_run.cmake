cmake_minimum_required(VERSION 3.25)
# Which shared libraries veridrift-series loads, as the dynamic loader tells
# (LD_DEBUG=libs): the listings and the PNG and GIF pictures load no Qt and
# no OpenGL or EGL, and only an SVG or PDF brings Qt in.
#   cmake -DTOOL=<veridrift-series> -DWORK=<scratch folder> -P loaded_libraries_run.cmake
set(graphical "lib(Qt6|GL|EGL|OpenGL|GLX|gbm|GLdispatch)[^ ]*\\.so")
set(rows
  # name | arguments | may load Qt
  "listing|0 0.30 0.90|no"
  "csv|--csv 3 0.30 0.90|no"
  "report|--report 3 0.30 0.90|no"
  "orbit columns|--orbit --csv --columns 5 3 0.30 0.90|no"
  "orbit verdicts|--orbit --table --columns 5 3 0.30 0.90|no"
  "orbit picture|--orbit --output @orbit.png --size 300x200 3 0.30 0.90|no"
  "web view as PNG|--picture web --step 1000 --output @web.png 3 0.30 0.90|no"
  "both views as GIF|--picture both --steps 0..5 --output @run.gif 0 0.30 0.90|no"
  "version|--version|no"
  "help|--help|no"
  "web view as SVG|--picture web --step 40 --output @web.svg 3 0.30 0.90|yes"
)
set(work "${WORK}/loaded")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(faults "")
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 name)
  list(GET fields 1 arguments)
  list(GET fields 2 mayLoadQt)
  separate_arguments(arguments UNIX_COMMAND "${arguments}")
  list(TRANSFORM arguments REPLACE "^@" "${work}/")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=libs "${TOOL}" ${arguments}
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE loader)
  string(REGEX MATCHALL "calling init: [^\n]*" loaded "${loader}")
  list(FILTER loaded INCLUDE REGEX "${graphical}")
  if(NOT result EQUAL 0)
    string(APPEND faults "\n  ${name}: exit status ${result}")
  elseif(mayLoadQt STREQUAL "no" AND loaded)
    list(JOIN loaded ", " names)
    string(APPEND faults "\n  ${name} loads ${names}")
  elseif(mayLoadQt STREQUAL "yes" AND NOT loaded)
    string(APPEND faults "\n  ${name}: no Qt library seen; the loader's report has changed?")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "veridrift-series loads what it must not:${faults}")
endif()
list(LENGTH rows count)
message(STATUS "${count} commands load what they need alone")
