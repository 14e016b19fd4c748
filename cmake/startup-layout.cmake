# What a start uses, code and tables, laid out in one run of pages by the linker script ORDER that
# a traced start wrote (tools/<system>/trace-startup.sh), and the map that the next trace and the
# staleness check read. A stale or missing script never breaks the link; it only costs reads.
function(autorun_startup_layout target order)
  if(EXISTS ${order})
    target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-Wl,-T,${order}>)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${order})
  endif()
  target_link_options(${target} PRIVATE -Wl,-Map=$<TARGET_FILE_DIR:${target}>/${target}.map)
endfunction()
