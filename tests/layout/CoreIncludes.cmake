# Checks what the core's files include: the standard library and the core's
# own folders only (no Qt, no OS header, no platform or front-end code), and
# no include from the lower folders up: util/ sees only ports/ and util/, and
# files/ sees ports/, util/ and files/ without the shared utility object.
#   cmake -DSOURCE_DIR=<repository>/src -P CoreIncludes.cmake
cmake_minimum_required(VERSION 3.20)
set(core_folders util files scan doc views desktop ports)
set(std_headers
  algorithm any array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes
  climits clocale cmath compare concepts condition_variable cstddef cstdint cstdio cstdlib
  cstring ctime cwchar deque exception filesystem format forward_list fstream functional
  future initializer_list iomanip ios iosfwd iostream istream iterator limits list locale map
  memory mutex new numbers numeric optional ostream queue random ranges ratio regex set
  shared_mutex source_location span sstream stack stdexcept stop_token streambuf string
  string_view system_error thread tuple type_traits typeinfo unordered_map unordered_set
  utility variant vector version)

set(failures "")
foreach(folder ${core_folders})
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(path ${sources})
    file(RELATIVE_PATH rel "${SOURCE_DIR}" "${path}")
    file(STRINGS "${path}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      if(line MATCHES "<([^>]+)>")
        list(FIND std_headers "${CMAKE_MATCH_1}" at)
        if(at EQUAL -1)
          list(APPEND failures "${rel}: <${CMAKE_MATCH_1}> is no standard header")
        endif()
      elseif(line MATCHES "\"([^\"]+)\"")
        set(target "${CMAKE_MATCH_1}")
        string(REGEX MATCH "^[^/]+" top "${target}")
        list(FIND core_folders "${top}" at)
        if(at EQUAL -1)
          list(APPEND failures "${rel}: \"${target}\" is outside the core")
        elseif(folder STREQUAL "util" AND NOT top MATCHES "^(util|ports)$")
          list(APPEND failures "${rel}: \"${target}\" is above util/")
        elseif(folder STREQUAL "files" AND (NOT top MATCHES "^(files|util|ports)$"
                                            OR target STREQUAL "util/AuditUtil.h"))
          list(APPEND failures "${rel}: \"${target}\" is above files/")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
