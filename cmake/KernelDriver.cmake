# Builds TARGET, a module of C sources with a DriverEntry routine, as the
# Windows kernel driver DLPortIO.SYS: no C run time, the native subsystem,
# and DriverEntry as its entry point, whose 32-bit symbol carries the
# stdcall decoration. Without the right symbol the linker only warns and
# leaves the driver without an entry point.
function(dotvane_kernel_driver target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(entry DriverEntry)
  else()
    set(entry _DriverEntry@8)
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME DLPortIO PREFIX "" SUFFIX .SYS)
  target_link_options(${target} PRIVATE -nostdlib -Wl,--subsystem,native -Wl,--entry,${entry})
  target_link_libraries(${target} PRIVATE ntoskrnl)
endfunction()
