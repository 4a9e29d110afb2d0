# Delay-loaded system DLLs: mapped at their first call rather than at process start, so that
# start-up maps only what the bar needs (each DLL costs a few milliseconds, more under Wine).
# MSVC: /DELAYLOAD. MinGW: a lazily loading import library that dlltool makes from the
# exports of the toolchain's own import library (cmake/make_delay_lib.cmake).
#
#   orv_delay_load(<target> <dll name without .dll>...)
# Call it after the target's other target_link_libraries: GNU ld takes each symbol from the
# first library after its use, and the lazy libraries must come before the plain ones.
function(orv_delay_load target)
  foreach(dll IN LISTS ARGN)
    if(MSVC)
      target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
    elseif(MINGW)
      find_library(ORV_IMPLIB_${dll} ${dll} REQUIRED)
      set(out ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL} -DIMPLIB=${ORV_IMPLIB_${dll}}
                -DDLL=${dll} -DOUT=${out} -P ${CMAKE_SOURCE_DIR}/cmake/make_delay_lib.cmake
        DEPENDS ${ORV_IMPLIB_${dll}} ${CMAKE_SOURCE_DIR}/cmake/make_delay_lib.cmake
        VERBATIM)
      add_custom_target(${target}_delay_${dll} DEPENDS ${out})
      add_dependencies(${target} ${target}_delay_${dll})
      target_link_libraries(${target} PRIVATE ${out})
    endif()
  endforeach()
  if(MSVC)
    target_link_libraries(${target} PRIVATE delayimp)
  endif()
endfunction()
