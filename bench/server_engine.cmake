# The embedded server's SQL engine: full-scan throughput against raw SQLite.
# Figures: build in a separate Release folder, then ./bench/server_engine_scan.
vorn_add_benchmark(server_engine_scan SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ServerEngineScan.cpp
                   LIBS vorn_server_shell)
