# Shared compile settings and the helpers every subsystem uses to declare
# its library and its tests.

add_library(brimlow_options INTERFACE)
target_compile_options(brimlow_options INTERFACE -Wall -Wextra)
target_include_directories(brimlow_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(brimlow_options INTERFACE
  BRIMLOW_VERSION="${PROJECT_VERSION}")

if(WIN32)
  target_compile_definitions(brimlow_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_link_options(brimlow_options INTERFACE -static -static-libgcc -static-libstdc++)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(brimlow_options INTERFACE Threads::Threads)
endif()

if(BRIMLOW_SANITIZE)
  target_compile_options(brimlow_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(brimlow_options INTERFACE -fsanitize=address,undefined)
endif()

# brimlow_library(NAME DIR [DEPS ...]): a static library of every .cpp in DIR
# (not recursive). Subsystems add files without touching the build.
function(brimlow_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC brimlow_options ${ARGN})
endfunction()

# brimlow_test(NAME DIR [DEPS ...]): one test executable of every *_test.cpp
# in DIR (with the shared test main), registered as one CTest entry (one process per binary keeps Wine
# start-up cost low in the win32 build).
function(brimlow_test name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*_test.cpp ${dir}/*_fixture.cpp)
  # Tests of one platform's own implementation: *_win32_test.cpp and
  # *_standin_test.cpp run only in their build.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_standin_test\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32_test\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE brimlow_testing ${ARGN})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "BRIMLOW_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/${dir}"
    TIMEOUT 900)
endfunction()

# Header-only libraries from Debian's packages (CLI11, nlohmann-json) for the
# command-line tool. They live in /usr/include, which the cross compiler must
# not search as a whole, so only their own folders are linked into the build.
set(brimlow_third_party_include ${CMAKE_BINARY_DIR}/third_party_include)
file(MAKE_DIRECTORY ${brimlow_third_party_include})
foreach(dir CLI nlohmann)
  if(NOT EXISTS ${brimlow_third_party_include}/${dir})
    file(CREATE_LINK /usr/include/${dir} ${brimlow_third_party_include}/${dir} SYMBOLIC)
  endif()
endforeach()
add_library(brimlow_third_party INTERFACE)
target_include_directories(brimlow_third_party SYSTEM INTERFACE ${brimlow_third_party_include})
