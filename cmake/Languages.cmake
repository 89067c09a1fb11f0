# The languages of the localized bootstrappers (bootfetch-LANG.exe with
# bootfetch/resources/language-LANG.xml) come from the catalogue generator's
# table, so adding a row there is all a new language needs.
set(CATALOGUE_GENERATOR "${PROJECT_SOURCE_DIR}/tools/make_language_xml.py")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CATALOGUE_GENERATOR}")
execute_process(COMMAND "${Python3_EXECUTABLE}" "${CATALOGUE_GENERATOR}" --languages
  OUTPUT_VARIABLE BOOTFETCH_LANGUAGES OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
# Their targets, built like bootfetch.exe and tested beside it.
list(TRANSFORM BOOTFETCH_LANGUAGES PREPEND bootfetch- OUTPUT_VARIABLE BOOTFETCH_LOCALIZED_PROGRAMS)
