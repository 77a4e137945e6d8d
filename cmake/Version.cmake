# The project's one version number (project(VERSION)) as the programs carry it:
#
#   Version.h               generated header with OSTRAVION_VERSION ("3.1.0"),
#                           its parts and the product and company names; link
#                           the INTERFACE target ostravion_version to include it
#                           ("#include "Version.h"", also from a .rc file).
#   ostravion_version_resource(TARGET DESCRIPTION [ICON file.ico])
#                           Windows builds: gives a program a VERSIONINFO
#                           resource (CompanyName, FileDescription, ProductName,
#                           ProductVersion, FileVersion) and, with ICON, its
#                           icon as icon resource 128. Does nothing elsewhere.
#   ostravion_make_ico(OUTPUT file.ico PNGS a.png ... [RAW_PNGS big.png ...])
#                           packs PNG pictures (16, 32 and 48 pixels, PNGS)
#                           into one Windows icon file at build time (icotool,
#                           Debian package icoutils); RAW_PNGS (256 pixels)
#                           stay PNG inside the icon. Defines the target
#                           NAME_ico; ostravion_version_resource() waits for it.
set(OSTRAVION_PRODUCT_NAME "Ostravion")
set(OSTRAVION_COMPANY_NAME "Velmora")
set(OSTRAVION_COPYRIGHT "(C) Velmora")

configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
add_library(ostravion_version INTERFACE)
target_include_directories(ostravion_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

set(_ostravion_version_dir ${CMAKE_CURRENT_LIST_DIR})
if(WIN32)
  # Resource scripts (.rc) are compiled by windres; enabled here at file scope.
  enable_language(RC)
endif()

function(ostravion_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "ICON" "")
  set(_target ${target})
  set(_description "${description}")
  get_target_property(_output_name ${target} OUTPUT_NAME)
  if(NOT _output_name)
    set(_output_name ${target})
  endif()
  set(_icon_line "")
  if(arg_ICON)
    # windres reads the icon by the path written in the script.
    set(_icon_line "128 ICON \"${arg_ICON}\"")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${_ostravion_version_dir}/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  if(arg_ICON)
    # The icon may be made by the build: the resource is compiled after it.
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${arg_ICON}")
    get_property(icon_target GLOBAL PROPERTY "OSTRAVION_ICO_TARGET:${arg_ICON}")
    if(icon_target)
      add_dependencies(${target} ${icon_target})
    endif()
  endif()
endfunction()

find_program(OSTRAVION_ICOTOOL icotool)
function(ostravion_make_ico)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "OUTPUT" "PNGS;RAW_PNGS")
  if(NOT OSTRAVION_ICOTOOL)
    message(FATAL_ERROR "icotool not found (Debian package icoutils): cannot make ${arg_OUTPUT}")
  endif()
  add_custom_command(OUTPUT ${arg_OUTPUT}
    COMMAND ${OSTRAVION_ICOTOOL} --create -o ${arg_OUTPUT} ${arg_PNGS}
            "$<$<BOOL:${arg_RAW_PNGS}>:--raw=$<JOIN:${arg_RAW_PNGS},;--raw=>>"
    DEPENDS ${arg_PNGS} ${arg_RAW_PNGS}
    COMMENT "Making ${arg_OUTPUT}"
    COMMAND_EXPAND_LISTS
    VERBATIM)
  # A target of its own, so that programs in any folder can wait for the icon.
  get_filename_component(name ${arg_OUTPUT} NAME_WE)
  add_custom_target(${name}_ico DEPENDS ${arg_OUTPUT})
  set_property(GLOBAL PROPERTY "OSTRAVION_ICO_TARGET:${arg_OUTPUT}" ${name}_ico)
endfunction()
