# vg_embed_file(target NAME file): compiles the file into target as the byte array NAME and NAME_SIZE,
# regenerated whenever the file changes.
function(vg_embed_file target name file)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.cpp)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${output} -DNAME=${name}
                -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
        DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
        COMMENT "Embedding ${file}"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()
