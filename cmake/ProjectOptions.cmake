# Options applied per target (never through global flags).

# The product web site; pages /help, /download and /contact hang below it.
set(VH_PRODUCT_WEB_SITE "https://www.vornhalt.app" CACHE STRING "Product web site host")

function(vh_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Werror>)
  # GCC 12 reports impossible overlaps in inlined std::string copies at -O3
  # (GCC bug 105329); the warning says nothing about our code there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
    target_link_options(${target} PRIVATE -static)
  endif()
  if(VH_FUZZ)
    # Coverage for libFuzzer in every library, not only in the fuzz targets.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
  if(VH_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# A portable library: builds on both toolchains.
function(vh_add_library target)
  add_library(${target} STATIC ${ARGN})
  vh_target_defaults(${target})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# A GoogleTest program. Label with LABELS unit|win|e2e; on Windows the cases
# run through Wine (the toolchain's emulator). RESOURCE_LOCK names the one
# lock the test's cases take (by default none for unit tests, the desktop for
# Windows and end-to-end tests).
function(vh_add_test target)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS;RESOURCE_LOCK" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  vh_target_defaults(${target})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(props LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
  if(WIN32)
    list(APPEND props FIXTURES_REQUIRED wine_session)
  endif()
  # Windows and end-to-end tests share the session's one desktop (a window
  # one shows could take the foreground another relies on) and its
  # application-data folder, so they run one at a time.
  if(WIN32 AND NOT T_LABEL STREQUAL "unit" AND NOT T_RESOURCE_LOCK)
    set(T_RESOURCE_LOCK wine_desktop)
  endif()
  if(T_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK ${T_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props})
endfunction()

if(WIN32)
  # Windows programs run through Wine in the run's private session
  # (scripts/lib/wine-session); the state lives in the build folder.
  set(VH_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/lib/wine-exec ${VH_WINE_STATE})
endif()
