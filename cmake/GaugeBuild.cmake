# Helpers shared by every directory: warnings for our own code, and gauge modules.

# Our code builds warning-free; the test framework's own sources are left alone.
function(gauges_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# Gauge code: plain records and callbacks, no exceptions, no RTTI, no runtime DLLs.
function(gauges_plain target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-threadsafe-statics
                                           -fvisibility=hidden -fno-asynchronous-unwind-tables)
endfunction()

# add_gauge_module(NAME SOURCES ... DESCRIPTION "..." [PRODUCT "..."])
# A module: exports only Linkage and ImportTable, links the whole frame, carries its
# version resource (Windows) and is named NAME.gau on both targets.
function(add_gauge_module name)
  cmake_parse_arguments(G "" "DESCRIPTION;PRODUCT" "SOURCES" ${ARGN})
  if(NOT G_PRODUCT)
    set(G_PRODUCT "FS2004 Gauge")
  endif()
  add_library(${name} MODULE ${G_SOURCES})
  gauges_strict(${name})
  gauges_plain(${name})
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,gauge_frame>")
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".gau"
                        LIBRARY_OUTPUT_DIRECTORY ${GAUGES_OUTPUT_DIR}
                        RUNTIME_OUTPUT_DIRECTORY ${GAUGES_OUTPUT_DIR})
  if(WIN32)
    set(GAUGE_NAME ${name})
    set(GAUGE_DESCRIPTION ${G_DESCRIPTION})
    set(GAUGE_PRODUCT ${G_PRODUCT})
    configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc @ONLY)
    target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc
                                   ${CMAKE_SOURCE_DIR}/frame/exports.def)
    target_link_options(${name} PRIVATE -static-libgcc -static-libstdc++)
    target_link_libraries(${name} PRIVATE kernel32 user32)
  else()
    target_link_options(${name} PRIVATE -Wl,--version-script=${CMAKE_SOURCE_DIR}/frame/exports.map
                        -Wl,--no-undefined -static-libgcc -static-libstdc++)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/frame/exports.map)
  endif()
  set_property(GLOBAL APPEND PROPERTY GAUGE_MODULES ${name})
endfunction()

# Debian's header-only libraries (JSON, command lines, stb), reachable from every target:
# the cross compiler must not search all of /usr/include, so each gets a link of its own.
set(GAUGES_HEADER_DIR ${CMAKE_BINARY_DIR}/header-libs)
foreach(lib nlohmann CLI stb)
  if(NOT EXISTS /usr/include/${lib})
    message(FATAL_ERROR "/usr/include/${lib} is missing: run scripts/setup-deps.sh")
  endif()
  file(MAKE_DIRECTORY ${GAUGES_HEADER_DIR})
  file(CREATE_LINK /usr/include/${lib} ${GAUGES_HEADER_DIR}/${lib} SYMBOLIC)
endforeach()
add_library(header_libs INTERFACE)
target_include_directories(header_libs SYSTEM INTERFACE ${GAUGES_HEADER_DIR})
