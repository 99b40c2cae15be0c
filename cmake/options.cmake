# Compiler settings shared by the project's own targets.

# Our code: warnings as errors, no exceptions (failure is reported the Win32 way).
add_library(spoolscope_options INTERFACE)
target_compile_options(spoolscope_options INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers -Werror
                                                    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)

# Tests: the same warnings; exceptions stay on for GoogleTest.
add_library(spoolscope_test_options INTERFACE)
target_compile_options(spoolscope_test_options INTERFACE -Wall -Wextra -Wno-missing-field-initializers -Werror)

if(WIN32)
  # ANSI build for Windows XP and later; diagnostics in debug builds only.
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 STRICT $<$<CONFIG:Debug>:_DEBUG>)
  # Static runtime: the .exe files need no mingw DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(SPOOLSCOPE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
