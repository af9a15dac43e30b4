# The program's layers, lowest first, each a static library: nothing may include a header of
# a layer above its own. tidybar_layer_breaches(OUT root layer...) lists, in OUT, each
# "file -> header" include that breaks this; ${layer}_FILES holds the layer's files (paths
# from `root`, or absolute). A header is in the layer of the source file of its name, or else
# in the highest layer of the files beside it; its own listing decides first. Includes of
# files outside the layers (system headers, generated files) are not checked.

# The layer (index) of `file`, or -1: from its listing, its source's, or its folder's.
function(tidybar_layer_of OUT file)
  get_filename_component(folder ${file} DIRECTORY)
  string(REGEX REPLACE "\\.[^./]*$" ".cpp" source ${file})
  foreach(key ${file} ${source} ${folder})
    string(MAKE_C_IDENTIFIER "${key}" key)
    if(DEFINED _layer_of_${key})
      set(${OUT} ${_layer_of_${key}} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${OUT} -1 PARENT_SCOPE)
endfunction()

function(tidybar_layer_breaches OUT root)
  set(index 0)
  set(folders "")
  foreach(layer ${ARGN})
    foreach(file ${${layer}_FILES})
      get_filename_component(file ${file} ABSOLUTE BASE_DIR ${root})
      get_filename_component(folder ${file} DIRECTORY)
      string(MAKE_C_IDENTIFIER "${file}" key)
      string(MAKE_C_IDENTIFIER "${folder}" folder_key)
      set(_layer_of_${key} ${index})
      set(_layer_of_${folder_key} ${index})  # later (higher) layers overwrite
      list(APPEND folders ${folder})
    endforeach()
    math(EXPR index "${index} + 1")
  endforeach()
  list(REMOVE_DUPLICATES folders)

  set(breaches "")
  foreach(folder ${folders})
    file(GLOB files ${folder}/*.h ${folder}/*.cpp)
    foreach(file ${files})
      tidybar_layer_of(own ${file})
      file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
      foreach(line ${includes})
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" header "${line}")
        tidybar_layer_of(theirs ${root}/${header})
        if(theirs GREATER own)
          file(RELATIVE_PATH name ${root} ${file})
          list(APPEND breaches "${name} -> ${header}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(${OUT} ${breaches} PARENT_SCOPE)
endfunction()
