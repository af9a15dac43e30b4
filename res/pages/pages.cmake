# Makes the program's page resources from the one page in page.html: each is the same page
# with its own body id. Writes the pages and res/pages.rc, which names them, under the build
# folder; res/tidybar.rc includes it.
set(TIDYBAR_PAGES
  103 audio  104 vide  105 office  106 web  107 graphic  108 program  110 syst  111 photo
  112 options  113 help  120 note  121 playlist)

file(READ ${CMAKE_SOURCE_DIR}/res/pages/page.html TIDYBAR_PAGE_SOURCE)
set(pages_rc "// Made by res/pages/pages.cmake: the page resources (type 23), one per window.\n")
list(LENGTH TIDYBAR_PAGES count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET TIDYBAR_PAGES ${i} id)
  list(GET TIDYBAR_PAGES ${j} body)
  string(REPLACE "@BODY_ID@" "${body}" page "${TIDYBAR_PAGE_SOURCE}")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/res/pages/${body}.html CONTENT "${page}")
  string(APPEND pages_rc "${id} 23 \"${CMAKE_BINARY_DIR}/res/pages/${body}.html\"\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/res/pages.rc CONTENT "${pages_rc}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/pages/page.html)
