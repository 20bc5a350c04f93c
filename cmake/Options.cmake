# Compile options shared by every target of the project.

# Sources are UTF-8, and so are the narrow literals: the program holds its
# text in UTF-8 and converts only at its edges (src/base/utf8.h).
set(ZB_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=UTF-8)

set(ZB_WARNINGS -Wall -Wextra)
if(ZB_WERROR)
  list(APPEND ZB_WARNINGS -Werror)
endif()

# Product code: no exceptions, no RTTI.
set(ZB_PRODUCT_FLAGS $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)

if(WIN32)
  # Windows 98 headers level; ANSI entry points only.
  set(ZB_WIN_DEFS WINVER=0x0410 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400
      WIN32_LEAN_AND_MEAN NOMINMAX)
  # Static runtime; the subsystem and OS versions that let Windows 98 load the exe.
  set(ZB_WIN_LINK -static -static-libgcc -static-libstdc++
      -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
      -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
endif()

function(zb_product_target tgt)
  target_compile_options(${tgt} PRIVATE ${ZB_WARNINGS} ${ZB_CHARSET_FLAGS} ${ZB_PRODUCT_FLAGS})
  if(WIN32)
    target_compile_definitions(${tgt} PRIVATE ${ZB_WIN_DEFS})
  endif()
endfunction()

function(zb_test_target tgt)
  target_compile_options(${tgt} PRIVATE ${ZB_WARNINGS} ${ZB_CHARSET_FLAGS})
  if(WIN32)
    target_compile_definitions(${tgt} PRIVATE ${ZB_WIN_DEFS})
    target_link_options(${tgt} PRIVATE ${ZB_WIN_LINK})
  endif()
endfunction()
