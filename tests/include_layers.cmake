# Fails when a source folder includes a header from a folder above it in the layer order
# (platform/runtime, the rest of platform, language, mathematics, plotting, numerics, commands,
# help, the worksheet window, the graph window, app).
# Run with -DSRC=<the src folder>.
set(windows "worksheet|graph|help|app")
set(rules
  "platform/runtime:language|mathematics|numerics|plotting|commands|platform/ui|platform/draw|${windows}"
  "platform/ui:language|mathematics|numerics|plotting|commands|${windows}"
  "platform/draw:language|mathematics|numerics|plotting|commands|${windows}"
  "language:mathematics|numerics|plotting|commands|${windows}"
  "mathematics:numerics|plotting|commands|${windows}"
  "numerics:commands|${windows}"
  "plotting:numerics|commands|${windows}"
  "commands:${windows}"
  "help:worksheet|graph|app"
  "worksheet:graph|app"
  "graph:app")
set(found "")
foreach(rule ${rules})
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 above)
  file(GLOB_RECURSE files ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${above})/")
    foreach(line ${lines})
      file(RELATIVE_PATH rel ${SRC} ${f})
      string(APPEND found "\n  ${rel}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "includes against the layer order:${found}")
endif()
