# Delay-loaded system DLLs: a DLL the program may never need (the sound's when no sound plays,
# the Open dialog's) is loaded at the first call into it instead of at start-up, which keeps it
# and what it pulls in out of the start and out of an idle bar. A system DLL is always there,
# so a failed load (which would end the program) is not provided for.
# tidybar_delay_load(out winmm) sets out to a delay-import library with every function of the
# toolchain's import library of that DLL, made once per build folder.
function(tidybar_delay_load out name)
  set(dir ${CMAKE_BINARY_DIR}/delayload)
  set(library ${dir}/lib${name}_delay.a)
  if(NOT EXISTS ${library})
    find_library(import_library_${name} ${name} REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} ${import_library_${name}} OUTPUT_VARIABLE symbols
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE "I __imp_" "")
    list(REMOVE_DUPLICATES imports)
    list(JOIN imports "\n  " exports)
    file(WRITE ${dir}/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n  ${exports}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${name}.def
                            --dllname ${name}.dll --output-delaylib ${library}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out} ${library} PARENT_SCOPE)
endfunction()
