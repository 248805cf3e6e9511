# Settings every Windows target needs: wide APIs everywhere, the C and C++
# runtimes linked statically (an exe needing libstdc++-6.dll exits with code 53
# under Wine without a word), and the C++ library's own checks on: a read of
# an empty optional or past a container's end aborts at once, in the tests
# and in the field, instead of reading whatever lies there.
function(tiqora_windows_target target)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
    _GLIBCXX_ASSERTIONS)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
