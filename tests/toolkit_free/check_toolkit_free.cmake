# Checks that the toolkit-free libraries are toolkit-free as built, not only as intended:
#  - no source of theirs is compiled with a Qt include path or a Qt definition
#    (the build's compile_commands.json);
#  - none of them names a Qt library among the libraries it links (LINKS, written by
#    the build: one line "target: libraries" per library);
#  - no program that links only them needs a Qt shared library (readelf -d).
# Run with cmake -P and:
#   COMPILE_COMMANDS  the build's compile_commands.json
#   TARGETS           the toolkit-free libraries, separated by ","
#   LINKS             the file of their link libraries
#   PROGRAMS          programs that link only toolkit-free libraries, separated by ","
#   READELF           the readelf program
cmake_minimum_required(VERSION 3.25)

set(qt_pattern "[Qq][Tt][56]|/Qt[A-Z][A-Za-z]*|-DQT_")
set(failures "")
string(REPLACE "," ";" targets "${TARGETS}")
string(REPLACE "," ";" programs "${PROGRAMS}")

# Compile commands: every source of the listed libraries, and none with Qt.
file(READ "${COMPILE_COMMANDS}" json)
string(JSON count LENGTH "${json}")
math(EXPR last "${count} - 1")
set(checked 0)
foreach(k RANGE ${last})
  string(JSON entry GET "${json}" ${k})
  string(JSON command ERROR_VARIABLE no_command GET "${entry}" command)
  if(no_command)
    string(JSON arguments ERROR_VARIABLE no_arguments GET "${entry}" arguments)
    set(command "${arguments}")
  endif()
  string(JSON source GET "${entry}" file)
  foreach(target ${targets})
    if(command MATCHES "CMakeFiles/${target}\\.dir/")
      math(EXPR checked "${checked} + 1")
      # Only the include paths and definitions count, not the names of the files.
      string(REGEX MATCHALL "(-I|-isystem +|-iquote +|-idirafter +|-D)[^ \"]+" flags "${command}")
      foreach(flag ${flags})
        if(flag MATCHES "${qt_pattern}")
          string(APPEND failures "${target}: ${source} is compiled with Qt (${flag})\n")
          break()
        endif()
      endforeach()
    endif()
  endforeach()
endforeach()
if(checked EQUAL 0)
  string(APPEND failures "no compile command of ${TARGETS} found in ${COMPILE_COMMANDS}\n")
endif()

# Link libraries, as the build resolved them.
file(STRINGS "${LINKS}" link_lines)
list(LENGTH link_lines link_count)
list(LENGTH targets target_count)
if(NOT link_count EQUAL target_count)
  string(APPEND failures "${LINKS} lists ${link_count} libraries, expected ${target_count}\n")
endif()
foreach(line ${link_lines})
  if(line MATCHES "${qt_pattern}")
    string(APPEND failures "links Qt: ${line}\n")
  endif()
endforeach()

# What the programs need at run time.
foreach(program ${programs})
  execute_process(COMMAND "${READELF}" -d "${program}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(APPEND failures "readelf -d ${program} failed\n")
  endif()
  string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*" needed "${dynamic}")
  foreach(library ${needed})
    if(library MATCHES "Qt")
      string(APPEND failures "${program} needs ${library}\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "The toolkit-free libraries are not free of Qt:\n${failures}")
endif()
message(STATUS "${checked} sources of ${TARGETS} compiled without Qt; their link libraries and "
               "the programs that link only them are free of Qt")
