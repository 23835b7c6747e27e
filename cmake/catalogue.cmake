# A language's catalogue po/<language>.po, checked and compiled by msgfmt,
# built into the core as the byte array `array`, so that every program finds
# it without a file to look up. Sets `variable` to the generated source; `po`
# is the folder of the catalogues.
function(zephalo_catalogue variable po language array)
  find_program(MSGFMT msgfmt REQUIRED)
  set(mo ${CMAKE_CURRENT_BINARY_DIR}/${language}.mo)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${language}_catalogue.cpp)
  add_custom_command(
    OUTPUT ${cpp}
    COMMAND ${MSGFMT} --check -o ${mo} ${po}/${language}.po
    COMMAND ${CMAKE_COMMAND} -DIN=${mo} -DOUT=${cpp} -DNAME=${array} -P
            ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_bytes.cmake
    DEPENDS ${po}/${language}.po ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_bytes.cmake
    COMMENT "Compiling the catalogue ${language}.po")
  set(${variable} ${cpp} PARENT_SCOPE)
endfunction()
