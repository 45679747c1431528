# The host's drawing library: palette bitmaps, the RGB canvas, readout text, PNG output.
# Pure pixels; it knows nothing of the module records.

add_library(gauge_drawing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp)
target_include_directories(gauge_drawing PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(gauge_drawing PUBLIC header_libs)
embed_file(gauge_drawing GaugeFontSegment /usr/share/fonts/truetype/dseg/DSEG7Classic-Bold.ttf)
embed_file(gauge_drawing GaugeFontPlain /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
gauges_strict(gauge_drawing)
