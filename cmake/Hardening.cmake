# The optimised Linux programs are built as Debian builds its packages:
# checked buffer functions, and relocations made read-only before the
# program starts. Sanitizer and fuzzer builds do their own checking.
if(NOT WIN32 AND NOT DOTVANE_SANITIZE AND NOT DOTVANE_FUZZ)
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE>
                      $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro,-z,now)
endif()
