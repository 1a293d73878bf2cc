# Our own targets build with warnings as errors; third-party code (SQLite, GoogleTest) does not.
function(tessaron_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
endfunction()
