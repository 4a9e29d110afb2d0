# Renders the manual: cmake -DWEASYPRINT=... -DSOURCE=docs/manual/manual.html -DWORK=dir
# -DOUTPUT=.../Orvanta.pdf -P build_manual.cmake
#
# Before rendering, the pictures are settled in a copy of the page (WORK/manual.html):
#  - a block between <!--optional PICTURE--> and <!--/optional--> stays only when its picture
#    is there (a screenshot that another part of the build makes later);
#  - a "-96.png" picture becomes its "-144.png" twin when there is one (class "hi": printed at
#    144 dpi, the same size, sharper);
#  - every picture left must exist: WeasyPrint would only warn and leave a hole.
cmake_minimum_required(VERSION 3.20)

foreach(var WEASYPRINT SOURCE WORK OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "build_manual.cmake: ${var} is not set")
  endif()
endforeach()

get_filename_component(base "${SOURCE}" DIRECTORY)
file(READ "${SOURCE}" page)

# Optional blocks.
string(REGEX MATCHALL "<!--optional [^>]*-->" openers "${page}")
foreach(opener IN LISTS openers)
  string(REGEX REPLACE "<!--optional ([^>]*)-->" "\\1" picture "${opener}")
  string(STRIP "${picture}" picture)
  string(FIND "${page}" "${opener}" from)
  string(SUBSTRING "${page}" ${from} -1 rest)
  string(FIND "${rest}" "<!--/optional-->" length)
  if(length LESS 0)
    message(FATAL_ERROR "manual: ${opener} has no <!--/optional-->")
  endif()
  string(LENGTH "<!--/optional-->" closer)
  math(EXPR length "${length} + ${closer}")
  string(SUBSTRING "${rest}" 0 ${length} block)
  string(REPLACE "-96.png" "-144.png" twin "${picture}")
  if(EXISTS "${base}/${picture}" OR EXISTS "${base}/${twin}")
    message(STATUS "manual: with ${picture}")
  else()
    message(STATUS "manual: without ${picture} (not there yet)")
    string(REPLACE "${block}" "" page "${page}")
  endif()
endforeach()

# Sharper twins, then every picture must be there.
string(REGEX MATCHALL "<img [^>]*src=\"[^\"]+\"" images "${page}")
list(REMOVE_DUPLICATES images)
set(missing "")
foreach(tag IN LISTS images)
  string(REGEX REPLACE ".*src=\"([^\"]+)\"" "\\1" picture "${tag}")
  string(REPLACE "-96.png" "-144.png" twin "${picture}")
  if(NOT twin STREQUAL picture AND EXISTS "${base}/${twin}")
    string(REPLACE "src=\"${picture}\"" "class=\"hi\" src=\"${twin}\"" sharp "${tag}")
    string(REPLACE "${tag}" "${sharp}" page "${page}")
  elseif(NOT EXISTS "${base}/${picture}")
    list(APPEND missing "${picture}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "manual: pictures missing beside ${SOURCE}: ${missing}")
endif()

file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/manual.html" "${page}")
# Relative links (the style sheet, the pictures) resolve against the source folder.
execute_process(
  COMMAND "${WEASYPRINT}" --quiet --base-url "${base}/" "${WORK}/manual.html" "${OUTPUT}.part"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "manual: ${WEASYPRINT} failed (${result})")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
