# What a Windows cross build takes from the build machine: the header-only
# libraries (CLI11, nlohmann-json) from Debian's packages, and GoogleTest
# built for Windows from Debian's sources. The headers are reached through a
# folder of their own, since the build machine's /usr/include would shadow the
# Windows C library.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
foreach(library CLI nlohmann)
  if(NOT EXISTS /usr/include/${library})
    message(FATAL_ERROR "/usr/include/${library} is missing (Debian packages libcli11-dev, nlohmann-json3-dev)")
  endif()
  file(CREATE_LINK /usr/include/${library} ${host_headers}/${library} SYMBOLIC)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${host_headers})

if(VELDRA_BUILD_TESTS)
  set(googletest_sources /usr/src/googletest)
  if(NOT EXISTS ${googletest_sources}/CMakeLists.txt)
    message(FATAL_ERROR "${googletest_sources} is missing (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  # Its targets come with the names GTest::gtest and GTest::gtest_main.
  add_subdirectory(${googletest_sources} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
