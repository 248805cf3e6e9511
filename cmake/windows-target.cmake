# Settings every Windows target needs: wide APIs everywhere, and the C and C++
# runtimes linked statically (an exe needing libstdc++-6.dll exits with code 53
# under Wine without a word).
function(tiqora_windows_target target)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
