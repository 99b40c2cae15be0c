# The native Linux tools (the print-server simulator), built with the host
# compiler inside a cross build so that Windows tests can start them.
include(ExternalProject)
set(SPOOLSCOPE_HOST_DIR ${CMAKE_BINARY_DIR}/host)
set(SPOOLSCOPE_HOST_SIM ${SPOOLSCOPE_HOST_DIR}/tools/printserver-sim/printserver-sim)
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${SPOOLSCOPE_HOST_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug -DSPOOLSCOPE_HOST_TOOLS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target printserver-sim
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${SPOOLSCOPE_HOST_SIM})
