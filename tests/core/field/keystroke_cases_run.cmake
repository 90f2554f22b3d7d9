cmake_minimum_required(VERSION 3.25)
# The keystroke tables as JSON, read back: each of the three tables is there
# and holds cases.
#   cmake -DTOOL=<keystroke_cases_json> -P keystroke_cases_run.cmake
execute_process(COMMAND "${TOOL}" OUTPUT_VARIABLE json RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TOOL} ended with ${result}")
endif()
foreach(table rows worked events)
  string(JSON count ERROR_VARIABLE fault LENGTH "${json}" ${table})
  if(fault OR count LESS 1)
    message(FATAL_ERROR "the JSON has no cases in \"${table}\": ${fault}")
  endif()
  list(APPEND counts ${count})
endforeach()
message(STATUS "cases: ${counts}")
