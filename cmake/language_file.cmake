# The language file vlt010005.lan, built from the readable table of texts.
#
# tallymoor_language_table parses and checks the table and builds the records (plain C++,
# shared with the tests); make_language_file is the build step around it. A faulty table
# makes make_language_file fail, and with it the build.

add_library(tallymoor_language_table STATIC
  tools/language_table.cpp tools/language_table.h
  tools/language_file.cpp tools/language_file.h)
target_include_directories(tallymoor_language_table PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tallymoor_language_table PUBLIC tallymoor_records tallymoor_record_store)

add_executable(make_language_file tools/make_language_file.cpp)
set_target_properties(make_language_file PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
target_link_libraries(make_language_file PRIVATE tallymoor_language_table)

set(TALLYMOOR_LANGUAGE_TABLE ${CMAKE_SOURCE_DIR}/src/startup/language/language_texts.tsv)
set(TALLYMOOR_LANGUAGE_FILE ${TALLYMOOR_SHARE_DIR}/vlt010005.lan)
add_custom_command(
  OUTPUT ${TALLYMOOR_LANGUAGE_FILE}
  COMMAND make_language_file ${TALLYMOOR_LANGUAGE_TABLE} ${TALLYMOOR_LANGUAGE_FILE}
  DEPENDS ${TALLYMOOR_LANGUAGE_TABLE} make_language_file
  COMMENT "Writing the language file vlt010005.lan"
  VERBATIM)
add_custom_target(language_file ALL DEPENDS ${TALLYMOOR_LANGUAGE_FILE})
