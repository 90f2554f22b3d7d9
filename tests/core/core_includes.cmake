# Fails when a file of the core includes anything but the C++ standard
# library and the core itself: a Qt, GL or platform header there would break
# the page's build and tie the core to one shell.
#   cmake -DCORE=<core folder> -P core_includes.cmake
cmake_minimum_required(VERSION 3.25)
set(standard
  algorithm any array atomic bit bitset cassert cctype cerrno cfenv cfloat charconv chrono cinttypes
  climits clocale cmath compare complex concepts condition_variable cstddef cstdint cstdio cstdlib
  cstring ctime cwchar deque exception functional initializer_list iomanip ios iosfwd iostream
  istream iterator limits list locale map memory mutex new numbers numeric optional ostream queue
  random ranges ratio regex set shared_mutex source_location span sstream stack stdexcept
  stop_token streambuf string string_view system_error thread tuple type_traits typeinfo
  unordered_map unordered_set utility valarray variant vector version)
file(GLOB_RECURSE sources LIST_DIRECTORIES false "${CORE}/*.h" "${CORE}/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "<([^>]+)>")
      if(NOT CMAKE_MATCH_1 IN_LIST standard)
        string(APPEND faults "\n  ${source}: <${CMAKE_MATCH_1}> is not the standard library")
      endif()
    elseif(line MATCHES "\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      if(NOT header MATCHES "^core/")
        string(APPEND faults "\n  ${source}: \"${header}\" is outside the core")
      endif()
    endif()
  endforeach()
endforeach()
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no core files under ${CORE}")
endif()
if(faults)
  message(FATAL_ERROR "The core includes what it must not:${faults}")
endif()
message(STATUS "${count} core files include the standard library and the core alone")
