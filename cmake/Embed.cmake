# embed_file(TARGET SYMBOL FILE): link FILE's bytes into TARGET as
#   extern "C" const unsigned char SYMBOL[]; extern "C" const unsigned char SYMBOL_end[];
# The bytes are pulled in with the assembler's .incbin, so no large source is generated.
function(embed_file target symbol file)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "embed_file: ${file} not found (scripts/setup-deps.sh installs it)")
  endif()
  set(prefix "")
  if(WIN32)
    set(prefix "_")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embed_${symbol}.cpp)
  file(WRITE ${out}.in
"// Generated: the bytes of ${file}.
__asm__(\".section .rodata\\n\"
        \".balign 4\\n\"
        \".globl ${prefix}${symbol}\\n\"
        \"${prefix}${symbol}:\\n\"
        \".incbin \\\"${file}\\\"\\n\"
        \".globl ${prefix}${symbol}_end\\n\"
        \"${prefix}${symbol}_end:\\n\"
        \".byte 0\\n\"
        \".text\\n\");
")
  configure_file(${out}.in ${out} COPYONLY)
  set_source_files_properties(${out} PROPERTIES OBJECT_DEPENDS ${file})
  target_sources(${target} PRIVATE ${out})
endfunction()
