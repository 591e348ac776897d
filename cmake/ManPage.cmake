# Writes a manual page from a program's --help (and, with COMMANDS, each command's --help).
# -DPROGRAM=<executable> -DNAME=<installed name> -DSUMMARY=<one line> -DVERSION=<version>
# -DOUTPUT=<page> [-DCOMMANDS=<a,b,…>] [-DSETTINGS=<where the settings file is, in words>]
function(help_text out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${PROGRAM} ${ARGN}
                  OUTPUT_VARIABLE text RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN}: exit ${result}")
  endif()
  # The help names the settings file of this build; the page says where an installed one is.
  if(DEFINED SETTINGS)
    string(REGEX REPLACE "(\nUstawienia: )[^\n]*" "\\1${SETTINGS}" text "${text}")
  endif()
  # troff: a backslash, a hyphen, and a line that begins with a dot or an apostrophe.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" COMMANDS "${COMMANDS}")
string(TOUPPER "${NAME}" title)
help_text(body --help)
string(CONCAT page ".TH ${title} 1 \"\" \"Wykresownik ${VERSION}\" \"Wykresownik\"\n"
       ".SH NAZWA\n${NAME} \\- ${SUMMARY}\n"
       ".SH OPIS\n.nf\n${body}.fi\n")
foreach(command IN LISTS COMMANDS)
  help_text(body ${command} --help)
  string(APPEND page ".SH \"${NAME} ${command}\"\n.nf\n${body}.fi\n")
endforeach()
file(WRITE "${OUTPUT}" "${page}")
