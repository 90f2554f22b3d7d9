# What veridrift-series writes for a table of runs, byte for byte: the
# listings, the report, the orbit columns and verdicts, the pictures, and the
# refusals with their exit status. A digest that changes means a user's file
# changed; when that is meant, the row changes with the commit that means it.
# The PNG rows are libpng's files of the core's pixels, which decode to the
# very pixels the OpenGL pictures had before.
#   cmake -DTOOL=<veridrift-series> -DWORK=<scratch folder> -P outputs_run.cmake
cmake_minimum_required(VERSION 3.25)
set(rows
  # name | arguments | what is compared | exit status | SHA-256
  "listing, sentence 0|0 0.30 0.90|stdout|0|92222f0ba4cb06a37817f5211a82dec981beea0e02dacb01d8cf47e662a53e29"
  "listing, sentence 3|3 0.30 0.90|stdout|0|4dbb5ade810dacb164c0427adc1bb952c7eeaeeba186de92e10b19a2c235fed8"
  "csv, sentence 7|--csv 7 0.30 0.25|stdout|0|688d99c6be474efb5b3c14917b77944e69ae929fa3a2b95b4825c89a0e2ff733"
  "report, a non-repeating run|--report 3 0.30 0.90|stdout|0|0bcd61b0db6ba8779133afde1f197d41fdc7a018fd4a25242b0130888cdd88be"
  "report, a period-2 run|--report 0 0.30 0.90|stdout|0|5536d95effd66e4009976c15fc6b80b2f25eae6db8951cc9653247eff2ba801f"
  "report, a sentence without degree|--report 9 0.50 0.50|stdout|0|b7bb247778514624fcf53f6df1468474e86f558ec80e93d314a67b35926a348d"
  "orbit columns|--orbit --csv --columns 20 3 0.30 0.90|stdout|0|ef382968cbbbeff9bf7a3a90706f4444310a205a0b3220a4b137f6b822b42ee3"
  "orbit verdicts over the estimate|--orbit --table --columns 50 --over estimate 6 0 0.5|stdout|0|1ccfc5c23d55429736cdf4c8001e7f51848f08e277ae8a98918d9de80eb413d9"
  "version|--version|stdout|0|f5c1aa7f231f5de8ca8ac212c95453c6db215850b1b3e1dd9c2c5f921e3f4cc5"
  "orbit picture|--orbit --output @orbit.png --size 400x300 3 0.30 0.90|orbit.png|0|1b06298968d7fc8ffde1df2fab651b7a9b3523300b6247b92e1d44c98422849d"
  "web view at step 1000|--picture web --step 1000 --output @web.png 3 0.30 0.90|web.png|0|88b7f5695009508a20d4d1ae4ed4f01098a1497c40a933818b9dae41f5858d6e"
  "time series at step 40|--picture series --step 40 --output @series.png 0 0.3 0.9|series.png|0|12ba4badbaea6a8e237295b84b0ca1d9ac81e68659fddc491551cf8925bbf1c8"
  "both views at step 52|--picture both --step 52 --output @both.png 5 0.7 0.1|both.png|0|5b87734bc04690f0c41e4e5207413f04e518ba24495b4f261bfc4f65ee3c5138"
  "web view as SVG|--picture web --step 33 --output @web.svg 3 0.30 0.90|web.svg|0|3d089320f369aff19a7d3610d62a70f3ee8e61dcd5a566b8652c73bbbc64dc07"
  "web run as GIF|--picture web --steps 2..30 --output @run.gif 0 0.3 0.9|run.gif|0|ec7b93820b1a2d15368588bfc0226d35369d9dcb4ef21f74cbc34c76ca021674"
  "refused: sentence 12|12 0.3 0.9|stderr|2|10a772451fe0e137d77c010f936de8edcb0d3fe7a6678e2bac1f0946e6543331"
  "web view with f∘f|--picture web --step 60 --iterate 2 --output @web2.png 3 0.30 0.90|web2.png|0|cd783251058275d3a34897e26a17eabf42f2b7cf8967547615959136e38cb9ab"
  "both views with f∘f|--picture both --step 40 --iterate 2 --output @both2.png 4 0.75 0.20|both2.png|0|536be98201053075a3da492b2ae9e1d685f6f8992bd64df2270da15bc54f6c02"
  "refused: iterate 0|--picture web --step 3 --iterate 0 --output @x.png 0 0.3 0.9|stderr|2|b2591b5e68aaf96c34fb2ac5129e0121aabf662082e798360af9753ba0b54778"
  "refused: iterate 9|--picture web --step 3 --iterate 9 --output @x.png 0 0.3 0.9|stderr|2|7713f621964ca36fea44a0b325940fed841233dcea23e0367b2828f38405de61"
  "refused: iterate x|--picture web --step 3 --iterate x --output @x.png 0 0.3 0.9|stderr|2|1b693cad535b480faa926a1a9b07a6f56ad85f63a0a941b9287f4eb3e71541fa"
  "refused: empty size|--picture web --step 3 --size 0x0 --output @x.png 0 0.3 0.9|stderr|2|94f441a7812cfc523d1c7bc9f64490e37768ed6cdedf1a8f58cfa02ca704ecde"
)
set(work "${WORK}/outputs")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(faults "")
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 name)
  list(GET fields -3 compared)
  list(GET fields -2 status)
  list(GET fields -1 expected)
  list(GET fields 1 arguments)
  separate_arguments(arguments UNIX_COMMAND "${arguments}")
  list(TRANSFORM arguments REPLACE "^@" "${work}/")
  execute_process(COMMAND "${TOOL}" ${arguments} RESULT_VARIABLE result
    OUTPUT_FILE "${work}/stdout" ERROR_FILE "${work}/stderr")
  file(SHA256 "${work}/${compared}" digest)
  if(NOT result STREQUAL status)
    string(APPEND faults "\n  ${name}: exit status ${result}, expected ${status}")
  elseif(NOT digest STREQUAL expected)
    string(APPEND faults "\n  ${name}: ${compared} has SHA-256 ${digest}")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "veridrift-series wrote something else:${faults}")
endif()
list(LENGTH rows count)
message(STATUS "${count} outputs byte for byte as before")
