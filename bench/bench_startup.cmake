# The start-up benchmark loads the test module libraries of the module tests.
if(COMMAND ondmodule_test_paths)
    ondmodule_test_paths(bench_startup)
    target_link_libraries(bench_startup PRIVATE OndModule OndCom)
endif()
