# cmake -DGROFF=<groff> -DPAGES=<dist folder> -P CheckManPages.cmake
# Formats every page as man does on a terminal (preconv for UTF-8, nroff's utf8 device) with all
# warnings on, at a narrow, the usual and a wide terminal; any warning fails, and so does a request
# that shows in the page as text.
if(NOT GROFF)
  message(FATAL_ERROR "groff is not installed (Debian: groff-base, see scripts/setup.sh)")
endif()

file(GLOB english RELATIVE ${PAGES} ${PAGES}/*.1)
file(GLOB chinese RELATIVE ${PAGES}/zh_CN ${PAGES}/zh_CN/*.1)
if(NOT english)
  message(FATAL_ERROR "no manual pages in ${PAGES}")
endif()
if(NOT english STREQUAL chinese)
  message(FATAL_ERROR "the Chinese pages (${chinese}) are not the English ones (${english})")
endif()

set(failures "")
foreach(page IN LISTS english)
  foreach(path ${PAGES}/${page} ${PAGES}/zh_CN/${page})
    foreach(width 60 80 120)
      # troff can loop for ever on a line it cannot break: the time limit names the page and width.
      execute_process(COMMAND ${GROFF} -k -man -Tutf8 -ww -z -rLL=${width}n ${path} TIMEOUT 20
                      RESULT_VARIABLE status ERROR_VARIABLE warnings OUTPUT_QUIET)
      if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
        string(APPEND failures "${path}, ${width} columns (status ${status}):\n${warnings}")
      endif()
    endforeach()
    # A request that groff takes as text ("[SERIAL].br" with the request on the line before's end)
    # draws no warning, but shows: the page as read, in plain characters, has none.
    execute_process(COMMAND ${GROFF} -k -man -Tutf8 -P-c -P-b -P-o -P-u -rLL=80n ${path} TIMEOUT 20
                    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_QUIET)
    string(REGEX MATCHALL "[^\n]*\\.(br|sp|nf|fi|ad|nh|mso|TH|SH|SS|TP|PP|LP|IP|HP|RS|RE|PD|RI|IR|RB|BR|BI|IB|B|I|P)([ \t\n]|$)"
           shown "${text}")
    foreach(line IN LISTS shown)
      string(STRIP "${line}" line)
      string(APPEND failures "${path}: a request shows as text: ${line}\n")
    endforeach()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
