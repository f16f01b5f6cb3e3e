# sbkit_add_tweak(NAME SOURCES source... [FILTER bundle...]): a tweak, NAME.dylib,
# built against SBKitTweak::tweak, with its filter NAME.plist beside it naming
# the bundles it loads into (com.apple.springboard unless FILTER says).
function(sbkit_add_tweak name)
  cmake_parse_arguments(ARG "" "" "SOURCES;FILTER" ${ARGN})
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "sbkit_add_tweak(${name}): no SOURCES")
  endif()
  if(NOT ARG_FILTER)
    set(ARG_FILTER com.apple.springboard)
  endif()
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dylib")
  target_link_libraries(${name} PRIVATE SBKitTweak::tweak)

  set(bundles "")
  foreach(bundle IN LISTS ARG_FILTER)
    string(REPLACE "&" "&amp;" bundle "${bundle}")
    string(REPLACE "<" "&lt;" bundle "${bundle}")
    string(REPLACE ">" "&gt;" bundle "${bundle}")
    string(APPEND bundles "\t\t\t<string>${bundle}</string>\n")
  endforeach()
  file(GENERATE OUTPUT "$<TARGET_FILE_DIR:${name}>/${name}.plist" CONTENT
"<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">
<plist version=\"1.0\">
<dict>
\t<key>Filter</key>
\t<dict>
\t\t<key>Bundles</key>
\t\t<array>
${bundles}\t\t</array>
\t</dict>
</dict>
</plist>
")
endfunction()
