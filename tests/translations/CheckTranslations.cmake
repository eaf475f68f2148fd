# cmake -DLUPDATE=... -DPROJECT_DESCRIPTION=... -DPROJECT_SCRIPT=... -DTS_FILE=... -DWORK_DIR=...
#       -P CheckTranslations.cmake
# Fails when the catalogue lacks a text marked in the code, keeps one the code dropped, or has one
# without its translation; names each.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(name "${TS_FILE}" NAME)
set(copy "${WORK_DIR}/${name}")
file(COPY_FILE "${TS_FILE}" "${copy}")
execute_process(COMMAND "${CMAKE_COMMAND}" -DIN_FILE=${PROJECT_DESCRIPTION} -DOUT_FILE=${WORK_DIR}/project.json
                        -P "${PROJECT_SCRIPT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The lupdate project could not be made from ${PROJECT_DESCRIPTION}")
endif()
# The options of update_translations, but the texts the code dropped are kept, to be seen.
execute_process(COMMAND "${LUPDATE}" -project "${WORK_DIR}/project.json" -ts "${copy}" -locations none
                OUTPUT_VARIABLE summary ERROR_VARIABLE warnings RESULT_VARIABLE status)
message("${summary}${warnings}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed")
endif()

file(READ "${copy}" catalogue)
# One message per match: its source and the kind of its translation.
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?(<extracomment>[^<]*</extracomment>[^<]*)?<translation type=\"(unfinished|vanished|obsolete)\""
       faults "${catalogue}")
list(LENGTH faults count)
if(count GREATER 0)
  foreach(fault IN LISTS faults)
    string(REGEX REPLACE "^<source>([^<]*)</source>.*type=\"([a-z]+)\"$" "  \\2: \\1" line "${fault}")
    message("${line}")
  endforeach()
  message(FATAL_ERROR "${count} text(s) of ${name} are unfinished (new in the code, or untranslated) "
                      "or vanished from the code. Run: cmake --build BUILD --target update_translations, "
                      "translate, and mark each finished.")
endif()
# A warning of lupdate's (a tr() it cannot place, say) is a fault too; the note that the copy is
# written instead of the catalogue is not.
string(REGEX REPLACE "lupdate warning: TS files from command line will override TRANSLATIONS[^\n]*" ""
       warnings "${warnings}")
if(warnings MATCHES "[Ww]arning|[Ee]rror|[Cc]annot")
  message(FATAL_ERROR "lupdate warned")
endif()
message("${name}: every text of the code is translated")
