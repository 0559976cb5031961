# Fails when a translation lacks a text of the sources: each catalogue is refreshed from the
# sources in a scratch copy, as the build refreshes the template, and every message left
# unfinished or empty is named. Lists are given with | between their items.
#   cmake -D LUPDATE=path -D "OPTIONS=a|b" -D "FOLDERS=a|b" -D "TRANSLATIONS=a.ts|b.ts"
#         -D SCRATCH=folder -P CheckComplete.cmake
foreach(list OPTIONS FOLDERS TRANSLATIONS)
    string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()
file(MAKE_DIRECTORY ${SCRATCH})
set(lacking 0)
foreach(ts IN LISTS TRANSLATIONS)
    get_filename_component(name ${ts} NAME)
    set(copy ${SCRATCH}/${name})
    file(COPY_FILE ${ts} ${copy})
    execute_process(COMMAND ${LUPDATE} ${OPTIONS} ${FOLDERS} -ts ${copy} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "lupdate failed on ${name}")
    endif()
    file(READ ${copy} catalogue)
    # Semicolons (as in &quot;) would split the matches of a CMake list.
    string(REPLACE ";" "@semicolon@" catalogue "${catalogue}")
    string(REGEX MATCHALL
           "<source>[^<]*</source>[ \n]*(<comment>[^<]*</comment>[ \n]*)?<translation( type=\"unfinished\"[^>]*>|></translation>|>[ \n]*<numerusform></numerusform>)"
           unfinished "${catalogue}")
    foreach(message IN LISTS unfinished)
        string(REGEX REPLACE "^<source>([^<]*)</source>.*" "\\1" source "${message}")
        string(REPLACE "@semicolon@" ";" source "${source}")
        message("${name} does not translate: ${source}")
        math(EXPR lacking "${lacking} + 1")
    endforeach()
endforeach()
if(lacking)
    message(FATAL_ERROR "${lacking} text(s) without translation; translate them in translations/")
endif()
message("every translation has every text")
