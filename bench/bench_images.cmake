# The image decoders of the button wizard, beside Qt's readers.
target_link_libraries(bench_images PRIVATE HoverkitCore Qt6::Gui)
