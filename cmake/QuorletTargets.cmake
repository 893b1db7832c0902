# Flags every target of the program shares. Kept in a function so that third-party code built in
# the same tree (GoogleTest for the Windows build) keeps its own flags.

# Text in the program is GBK. GCC turns the UTF-8 sources into GB18030 literals, which are the
# same two bytes as GBK for every GBK character; GBK itself cannot be named because libstdc++'s
# <chrono> holds a literal GBK lacks. Clang only produces UTF-8 literals, so the fuzz build
# (the only clang build) keeps UTF-8 literals: fuzzing checks memory safety, not the wording.
function(quorlet_target_defaults target)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GB18030)
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(WIN32)
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                     _WIN32_WINNT=0x0601)
    endif()
    if(QUORLET_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=${QUORLET_SANITIZE} -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=all)
        target_link_options(${target} PRIVATE -fsanitize=${QUORLET_SANITIZE})
    endif()
    if(WIN32)
        target_link_options(${target} PRIVATE -static)
    endif()
endfunction()

# GoogleTest: Debian's build natively; built from Debian's source package for Windows.
macro(quorlet_find_gtest)
    if(WIN32)
        if(NOT TARGET gtest)
            set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
            set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
            add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        endif()
        set(QUORLET_GTEST gtest)
        set(QUORLET_GTEST_MAIN gtest_main)
        set(QUORLET_GMOCK gmock)
    else()
        find_package(GTest REQUIRED)
        set(QUORLET_GTEST GTest::gtest)
        set(QUORLET_GTEST_MAIN GTest::gtest_main)
        set(QUORLET_GMOCK GTest::gmock)
    endif()
endmacro()

# One test executable per area. Under Wine each start costs about a second, so ctest runs the
# whole executable as one test rather than one process per test case. RUN_WITH names a command
# that runs the test executable for ctest (a fixture that starts servers around it).
function(quorlet_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;RUN_WITH" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    quorlet_target_defaults(${name})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${QUORLET_GTEST_MAIN} ${QUORLET_GTEST})
    if(ARG_RUN_WITH)
        add_test(NAME ${name} COMMAND ${ARG_RUN_WITH} ${CMAKE_CROSSCOMPILING_EMULATOR}
                                      $<TARGET_FILE:${name}> --gtest_color=no)
    else()
        add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# quorlet_check_link_order(LIB...): the libraries are listed from the bottom layer up; each may
# link only libraries listed before it, so no two of them ever link each other. Libraries not
# built on this platform are skipped.
function(quorlet_check_link_order)
    set(below "")
    foreach(lib ${ARGN})
        if(NOT TARGET ${lib})
            continue()
        endif()
        get_target_property(links ${lib} LINK_LIBRARIES)
        foreach(link ${links})
            if(link MATCHES "^quorlet_" AND NOT link IN_LIST below)
                message(FATAL_ERROR "${lib} links ${link}, which is not below it")
            endif()
        endforeach()
        list(APPEND below ${lib})
    endforeach()
endfunction()
