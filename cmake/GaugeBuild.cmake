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

# gauge_bitmaps(MODULE ART_SOURCE ID...): build the gauge's art program, run it at build
# time (under the emulator when cross-building) to draw ID.bmp for every resource number,
# and carry the bitmaps in the module: RT_BITMAP resources on Windows, one section per
# bitmap (".gauge_bitmap.ID") in the module file elsewhere.
function(gauge_bitmaps module art_source)
  set(art ${module}_art)
  add_executable(${art} ${art_source})
  target_link_libraries(${art} PRIVATE gauge_art)
  gauges_strict(${art})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${module}_bitmaps)
  set(files "")
  set(rc "// Generated: the bitmaps of ${module}.\n")
  set(asm "// Generated: the bitmaps of ${module}, one section each.\n")
  foreach(id IN LISTS ARGN)
    math(EXPR number "${id}")
    list(APPEND files ${dir}/${number}.bmp)
    string(APPEND rc "${number} BITMAP \"${dir}/${number}.bmp\"\n")
    string(APPEND asm "__asm__(\".section .gauge_bitmap.${number},\\\"\\\",@progbits\\n.incbin \\\"${dir}/${number}.bmp\\\"\\n.previous\");\n")
  endforeach()
  add_custom_command(OUTPUT ${files}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
                     COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${art}> ${dir}
                     DEPENDS ${art} COMMENT "Drawing the bitmaps of ${module}" VERBATIM)
  if(WIN32)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/${module}_bitmaps.rc)
    file(CONFIGURE OUTPUT ${generated} CONTENT "${rc}")
  else()
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/${module}_bitmaps.cpp)
    file(CONFIGURE OUTPUT ${generated} CONTENT "${asm}")
  endif()
  set_source_files_properties(${generated} PROPERTIES OBJECT_DEPENDS "${files}")
  target_sources(${module} PRIVATE ${generated})
  add_custom_target(${module}_draw DEPENDS ${files})
  add_dependencies(${module} ${module}_draw)
endfunction()

# add_gauge_module(NAME SOURCES ... DESCRIPTION "..." [PRODUCT "..."] [ART SOURCE BITMAPS ID...] [TEST_ONLY])
# A module: exports only Linkage and ImportTable, links the whole frame, carries its
# version resource (Windows) and its bitmaps, and is named NAME.gau on both targets.
function(add_gauge_module name)
  cmake_parse_arguments(G "TEST_ONLY" "DESCRIPTION;PRODUCT;ART" "SOURCES;BITMAPS" ${ARGN})
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
  if(G_ART)
    gauge_bitmaps(${name} ${G_ART} ${G_BITMAPS})
  endif()
  set_property(GLOBAL APPEND PROPERTY GAUGE_MODULES ${name})
  if(NOT G_TEST_ONLY)
    install(TARGETS ${name} LIBRARY DESTINATION gauges RUNTIME DESTINATION gauges)
  endif()
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
