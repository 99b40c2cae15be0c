# The native Linux tools (the print-server simulator, the datagram flood),
# built with the host compiler inside a cross build so that Windows tests can
# start them.
include(ExternalProject)
set(SPOOLSCOPE_HOST_DIR ${CMAKE_BINARY_DIR}/host)
set(SPOOLSCOPE_HOST_SIM ${SPOOLSCOPE_HOST_DIR}/tools/printserver-sim/printserver-sim)
set(SPOOLSCOPE_HOST_FLOOD ${SPOOLSCOPE_HOST_DIR}/tools/datagram-flood/datagram-flood)
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${SPOOLSCOPE_HOST_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug -DSPOOLSCOPE_HOST_TOOLS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target printserver-sim datagram-flood
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${SPOOLSCOPE_HOST_SIM} ${SPOOLSCOPE_HOST_FLOOD})
