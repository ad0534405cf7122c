# A host path as the test programs see it: under Wine the host's root is drive Z, while a
# path that already has a drive letter (a native Windows build) stays as it is.
function(tarvoline_test_path out path)
  if(path MATCHES "^[A-Za-z]:")
    set(${out} "${path}" PARENT_SCOPE)
  else()
    set(${out} "Z:${path}" PARENT_SCOPE)
  endif()
endfunction()
