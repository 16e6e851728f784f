# The Debian changelog and copyright file of the install (and so of the
# package), made at configure time from the project's own sources: the
# metainfo's release notes, the only change log the project keeps, and
# LICENSE.

# changelog.gz, newest release first; the package is native (no Debian
# revision), so the name is changelog.gz, not changelog.Debian.gz.
function(verlomba_debian_changelog metainfo output)
  file(READ ${metainfo} text)
  # Semicolons would split CMake's lists: kept aside until the end.
  string(REPLACE ";" "@SEMICOLON@" text "${text}")
  string(REGEX MATCH "<releases>.*</releases>" releases "${text}")
  string(REPLACE "</release>" ";" releases "${releases}")
  set(changelog "")
  foreach(release IN LISTS releases)
    if(NOT release MATCHES "<release version=\"([^\"]+)\" date=\"([^\"]+)\"")
      continue()
    endif()
    set(version ${CMAKE_MATCH_1})
    execute_process(COMMAND date -u -R -d ${CMAKE_MATCH_2} OUTPUT_VARIABLE when
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND changelog "verlomba (${version}) unstable; urgency=medium\n\n")
    # Each paragraph or list item of the notes becomes one entry, its words
    # wrapped to 80 columns.
    string(REGEX MATCHALL "<(p|li)>[^<]*</(p|li)>" notes "${release}")
    foreach(note IN LISTS notes)
      string(REGEX REPLACE "</?(p|li)>" "" note "${note}")
      foreach(entity lt:< gt:> quot:\" apos:' amp:&)
        string(REGEX REPLACE "^([a-z]+):(.)$" "\\1" name "${entity}")
        string(REGEX REPLACE "^([a-z]+):(.)$" "\\2" plain "${entity}")
        string(REPLACE "&${name}@SEMICOLON@" "${plain}" note "${note}")
      endforeach()
      string(REGEX REPLACE "[ \t\r\n]+" ";" words "${note}")
      set(line "  *")
      foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(length GREATER 80)
          string(APPEND changelog "${line}\n")
          set(line "   ")
        endif()
        string(APPEND line " ${word}")
      endforeach()
      string(APPEND changelog "${line}\n")
    endforeach()
    string(APPEND changelog "\n -- ${VERLOMBA_MAINTAINER}  ${when}\n\n")
  endforeach()
  string(REGEX REPLACE "\n\n$" "\n" changelog "${changelog}")
  string(REPLACE "@SEMICOLON@" ";" changelog "${changelog}")
  file(WRITE ${output} "${changelog}")
endfunction()

# copyright in Debian's machine-readable format: LICENSE's holders and text.
function(verlomba_debian_copyright license output)
  file(READ ${license} text)
  if(NOT text MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.*)$")
    message(FATAL_ERROR "${license} has no \"Copyright (c) ...\" line followed by the licence")
  endif()
  set(holders ${CMAKE_MATCH_1})
  # Continuation lines start with a space; an empty one is a lone dot.
  string(STRIP "${CMAKE_MATCH_2}" terms)
  string(REPLACE "\n\n" "\n.\n" terms "${terms}")
  string(REPLACE "\n" "\n " terms "${terms}")
  file(WRITE ${output} "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: ${VERLOMBA_MAINTAINER}
Source: ${PROJECT_HOMEPAGE_URL}

Files: *
Copyright: ${holders}
License: Expat
 ${terms}
")
endfunction()
