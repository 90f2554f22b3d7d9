# The files veridrift-series writes, read by other programs: xmllint accepts
# the SVG, pdfinfo counts one page per step of a range.
set(svg ${WORK}/web.svg)
set(pdf ${WORK}/web.pdf)
file(REMOVE ${svg} ${pdf})
execute_process(COMMAND ${TOOL} --picture web --step 1000 --output ${svg} 3 0.30 0.90
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "SVG not written: ${rc} ${err}")
endif()
execute_process(COMMAND xmllint --noout ${svg} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "xmllint refuses the SVG: ${err}")
endif()
execute_process(COMMAND ${TOOL} --picture series --steps 40..79 --output ${pdf} 3 0.30 0.90
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "PDF not written: ${rc} ${err}")
endif()
execute_process(COMMAND pdfinfo ${pdf} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT info MATCHES "Pages: +40\n")
  message(FATAL_ERROR "pdfinfo: ${rc}\n${info}")
endif()
