# libcurl, built as a static mingw library (HTTP only) by tools/install-deps.sh
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
