# SPDX-License-Identifier: GPL-3.0-or-later
# One INTERFACE target carries the language standard, warnings and Qt definitions
# for every target of the project.
add_library(scourwell_flags INTERFACE)
target_compile_features(scourwell_flags INTERFACE cxx_std_20)
target_compile_options(scourwell_flags INTERFACE -Wall -Wextra -Wpedantic -Werror)
target_compile_definitions(scourwell_flags INTERFACE
    QT_NO_FOREACH
    QT_NO_KEYWORDS
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QT_USE_QSTRINGBUILDER
    SCOURWELL_VERSION="${PROJECT_VERSION}")

option(SCOURWELL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SCOURWELL_SANITIZE)
    target_compile_options(scourwell_flags INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(scourwell_flags INTERFACE -fsanitize=address,undefined)
endif()

# sw_add_test(NAME name SOURCES ... LIBS ... [GUI] [LAUNCHER command...])
# One Qt Test program per unit. GUI tests run on the offscreen platform; a launcher, where
# given, runs the program (for example inside a private session bus).
function(sw_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;LAUNCHER" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE scourwell_flags scourwell_test_support Qt6::Test ${T_LIBS})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
    add_test(NAME ${T_NAME} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${T_NAME}>)
    if(T_GUI)
        set_tests_properties(${T_NAME} PROPERTIES LABELS gui ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    else()
        set_tests_properties(${T_NAME} PROPERTIES LABELS core)
    endif()
endfunction()
