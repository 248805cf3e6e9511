# libcurl, built as a static mingw library (HTTP and HTTPS over Schannel) by tools/install-deps.sh
# and cached under the build tree.
set(TIQORA_CURL_PREFIX "${CMAKE_BINARY_DIR}/../deps/curl-mingw" CACHE PATH "Prefix of the static mingw libcurl")
if(NOT EXISTS "${TIQORA_CURL_PREFIX}/lib/libcurl.a")
  message(FATAL_ERROR "No static libcurl in ${TIQORA_CURL_PREFIX}: run tools/install-deps.sh first")
endif()
add_library(curl_static STATIC IMPORTED GLOBAL)
set_target_properties(curl_static PROPERTIES
  IMPORTED_LOCATION "${TIQORA_CURL_PREFIX}/lib/libcurl.a"
  INTERFACE_INCLUDE_DIRECTORIES "${TIQORA_CURL_PREFIX}/include"
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "ws2_32;bcrypt;crypt32;advapi32")

# The program reaches libcurl only for the screenshot upload. Its socket,
# random-number and certificate libraries, and the security library the
# certificate check asks for the server's certificate, are delay-loaded
# (bound at their first call), so TiqoraDesk.exe loads none of them at
# start-up; the .def files list what libcurl and the check call in each.
# (libcurl loads secur32.dll itself, at run time, for Schannel.)
set(TIQORA_DELAYLOAD_DIR "${CMAKE_BINARY_DIR}/delayload")
set(TIQORA_DELAYLOAD_LIBS)
foreach(dll ws2_32 bcrypt crypt32 secur32)
  set(def "${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def")
  set(lib "${TIQORA_DELAYLOAD_DIR}/lib${dll}_delay.a")
  add_custom_command(OUTPUT "${lib}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TIQORA_DELAYLOAD_DIR}"
    COMMAND x86_64-w64-mingw32-dlltool --input-def "${def}" --dllname ${dll}.dll --output-delaylib "${lib}"
    DEPENDS "${def}" VERBATIM)
  list(APPEND TIQORA_DELAYLOAD_LIBS "${lib}")
endforeach()
add_custom_target(delayload_libs DEPENDS ${TIQORA_DELAYLOAD_LIBS})
add_library(curl_delayed INTERFACE)
target_link_libraries(curl_delayed INTERFACE "${TIQORA_CURL_PREFIX}/lib/libcurl.a" ${TIQORA_DELAYLOAD_LIBS} advapi32)
target_include_directories(curl_delayed INTERFACE "${TIQORA_CURL_PREFIX}/include")
target_compile_definitions(curl_delayed INTERFACE CURL_STATICLIB)
add_dependencies(curl_delayed delayload_libs)
