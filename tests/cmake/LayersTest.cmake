# Tries the layer check on a small tree of its own: cmake -P LayersTest.cmake (in a scratch
# folder, where it writes the tree). Fails with the breaches found when they are not those
# the tree was made with.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Layers.cmake)

set(root ${CMAKE_CURRENT_BINARY_DIR}/layers-tree)
file(REMOVE_RECURSE ${root})
function(write path)
  string(REPLACE ";" "\n" text "${ARGN}")
  file(WRITE ${root}/${path} "${text}\n")
endfunction()

# base: the bottom layer. mixed: a folder split between the middle layer (Store) and the top
# (Window), with a header of no source of its own. res: a header listed in the top layer.
write(base/Thing.h "#include <windows.h>" "#include \"base/Other.h\"")
write(base/Thing.cpp "#include \"base/Thing.h\"" "#include \"generated/pages.h\"")
write(base/Other.h "#pragma once" "#include \"res/ids.h\"")
write(base/Upward.cpp "  #  include \"mixed/Store.h\"")
write(mixed/Store.h "#include \"base/Thing.h\"")
write(mixed/Store.cpp "#include \"mixed/Store.h\"" "#include \"mixed/Names.h\"")
write(mixed/Names.h "#include \"res/ids.h\"")
write(mixed/Window.h "#include \"mixed/Store.h\"" "#include \"res/ids.h\"")
write(mixed/Window.cpp "#include \"mixed/Window.h\"")
write(res/ids.h "#define ID_WINDOW 100")

set(bottom_FILES ${root}/base/Thing.cpp ${root}/base/Upward.cpp)
set(middle_FILES ${root}/mixed/Store.cpp)
set(top_FILES ${root}/mixed/Window.cpp res/ids.h)
tidybar_layer_breaches(found ${root} bottom middle top)

# Store sits below its folder's window, so Names.h (the folder's, thus the top's) is above it.
set(expected "base/Upward.cpp -> mixed/Store.h" "base/Other.h -> res/ids.h"
             "mixed/Store.cpp -> mixed/Names.h")
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "layer breaches found: ${found}\nexpected: ${expected}")
endif()
