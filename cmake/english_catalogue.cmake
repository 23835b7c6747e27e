# The English catalogue, checked and compiled by msgfmt, built into the core
# as an array, so that every program finds it without a file to look up.
# Sets `variable` to the generated source; `po` is the folder of en.po.
function(zephalo_english_catalogue variable po)
  find_program(MSGFMT msgfmt REQUIRED)
  set(mo ${CMAKE_CURRENT_BINARY_DIR}/en.mo)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/english_catalogue.cpp)
  add_custom_command(
    OUTPUT ${cpp}
    COMMAND ${MSGFMT} --check -o ${mo} ${po}/en.po
    COMMAND ${CMAKE_COMMAND} -DIN=${mo} -DOUT=${cpp} -DNAME=kEnglishMo -P
            ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_bytes.cmake
    DEPENDS ${po}/en.po ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_bytes.cmake
    COMMENT "Compiling the English catalogue")
  set(${variable} ${cpp} PARENT_SCOPE)
endfunction()
