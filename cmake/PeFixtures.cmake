# Small Windows programs with version resources, made by the MinGW resource
# compiler and linker at build time. They are test data for the version
# reader and the seed corpus of its fuzz target.
#
# Sets OSTRAVION_PE_FIXTURES_FOUND, OSTRAVION_PE_FIXTURE_DIR and
# OSTRAVION_PE_FIXTURE_FILES, and defines the target pe_fixtures. Included once,
# from the top folder, for the tests and the fuzz target alike.
find_program(OSTRAVION_WINDRES x86_64-w64-mingw32-windres)
find_program(OSTRAVION_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(OSTRAVION_MINGW_OBJCOPY x86_64-w64-mingw32-objcopy)

set(OSTRAVION_PE_FIXTURES_FOUND OFF)
if(NOT OSTRAVION_WINDRES OR NOT OSTRAVION_MINGW_CXX OR NOT OSTRAVION_MINGW_OBJCOPY)
  message(STATUS "MinGW tools not found: the PE fixtures are not built")
  return()
endif()
set(OSTRAVION_PE_FIXTURES_FOUND ON)

set(_src ${CMAKE_SOURCE_DIR}/tests/fixtures/pe)
set(OSTRAVION_PE_FIXTURE_DIR ${CMAKE_BINARY_DIR}/pe-fixtures)
file(MAKE_DIRECTORY ${OSTRAVION_PE_FIXTURE_DIR})
set(OSTRAVION_PE_FIXTURE_FILES)

function(_pe_object name)
  add_custom_command(
    OUTPUT ${OSTRAVION_PE_FIXTURE_DIR}/${name}.o
    COMMAND ${OSTRAVION_WINDRES} -O coff -o ${name}.o ${_src}/${name}.rc
    DEPENDS ${_src}/${name}.rc
    WORKING_DIRECTORY ${OSTRAVION_PE_FIXTURE_DIR}
    COMMENT "windres ${name}.rc"
    VERBATIM)
endfunction()

# A DLL holding nothing but its resources: two or three kilobytes.
function(_pe_dll name)
  _pe_object(${name})
  add_custom_command(
    OUTPUT ${OSTRAVION_PE_FIXTURE_DIR}/${name}.dll
    COMMAND ${OSTRAVION_MINGW_CXX} -nostdlib -shared -s -Wl,-e,0 -o ${name}.dll ${name}.o
    DEPENDS ${OSTRAVION_PE_FIXTURE_DIR}/${name}.o
    WORKING_DIRECTORY ${OSTRAVION_PE_FIXTURE_DIR}
    VERBATIM)
  set(OSTRAVION_PE_FIXTURE_FILES ${OSTRAVION_PE_FIXTURE_FILES}
      ${OSTRAVION_PE_FIXTURE_DIR}/${name}.dll PARENT_SCOPE)
endfunction()

foreach(name korean unicode english twoline notrans nover multilang named)
  _pe_dll(${name})
endforeach()

# A real program (PE32+) with the Korean resource, and one without resources.
add_custom_command(
  OUTPUT ${OSTRAVION_PE_FIXTURE_DIR}/korean.exe
  COMMAND ${OSTRAVION_MINGW_CXX} -O2 -s -static -x c ${_src}/main.c -x none korean.o -o korean.exe
  DEPENDS ${_src}/main.c ${OSTRAVION_PE_FIXTURE_DIR}/korean.o
  WORKING_DIRECTORY ${OSTRAVION_PE_FIXTURE_DIR}
  VERBATIM)
add_custom_command(
  OUTPUT ${OSTRAVION_PE_FIXTURE_DIR}/norsrc.exe
  COMMAND ${OSTRAVION_MINGW_CXX} -O2 -s -static -x c ${_src}/main.c -o norsrc.exe
  DEPENDS ${_src}/main.c
  WORKING_DIRECTORY ${OSTRAVION_PE_FIXTURE_DIR}
  VERBATIM)
# The 32-bit form (PE32) of the Korean DLL.
add_custom_command(
  OUTPUT ${OSTRAVION_PE_FIXTURE_DIR}/korean32.dll
  COMMAND ${OSTRAVION_MINGW_OBJCOPY} -O pei-i386 korean.dll korean32.dll
  DEPENDS ${OSTRAVION_PE_FIXTURE_DIR}/korean.dll
  WORKING_DIRECTORY ${OSTRAVION_PE_FIXTURE_DIR}
  VERBATIM)
list(APPEND OSTRAVION_PE_FIXTURE_FILES
  ${OSTRAVION_PE_FIXTURE_DIR}/korean.exe
  ${OSTRAVION_PE_FIXTURE_DIR}/norsrc.exe
  ${OSTRAVION_PE_FIXTURE_DIR}/korean32.dll)

add_custom_target(pe_fixtures ALL DEPENDS ${OSTRAVION_PE_FIXTURE_FILES})
