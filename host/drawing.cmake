# The host's drawing library: palette bitmaps, the RGB canvas, readout text, PNG output.
# Pure pixels; it knows nothing of the module records.

# The stb headers, copied alone into the build tree: the Windows cross-compiler must not
# search the build machine's /usr/include, and SYSTEM keeps stb's own warnings quiet.
if(NOT TARGET gauge_stb_headers)
  set(GAUGE_STB_INCLUDE ${CMAKE_BINARY_DIR}/stb_include)
  foreach(header stb_truetype.h stb_image_write.h stb_image.h)
    if(NOT EXISTS /usr/include/stb/${header})
      message(FATAL_ERROR "drawing: /usr/include/stb/${header} not found (scripts/setup-deps.sh installs it)")
    endif()
    configure_file(/usr/include/stb/${header} ${GAUGE_STB_INCLUDE}/stb/${header} COPYONLY)
  endforeach()
  add_library(gauge_stb_headers INTERFACE)
  target_include_directories(gauge_stb_headers SYSTEM INTERFACE ${GAUGE_STB_INCLUDE})
endif()

add_library(gauge_drawing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp)
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH GAUGE_DRAWING_ROOT)
target_include_directories(gauge_drawing PUBLIC ${GAUGE_DRAWING_ROOT})
target_link_libraries(gauge_drawing PUBLIC gauge_stb_headers)
embed_file(gauge_drawing GaugeFontSegment /usr/share/fonts/truetype/dseg/DSEG7Classic-Bold.ttf)
embed_file(gauge_drawing GaugeFontPlain /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
gauges_strict(gauge_drawing)
