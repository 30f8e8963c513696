# Project-wide warning and sanitizer flags, applied to our own targets only.
function(zob_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual)
    if(ZOB_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(ZOB_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=${ZOB_SANITIZE} -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=${ZOB_SANITIZE})
    endif()
endfunction()
