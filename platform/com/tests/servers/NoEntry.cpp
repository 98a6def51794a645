// A shared library that is no component server: it lacks every entry point.
extern "C" __attribute__((visibility("default"))) int ComTestNothing() {
    return 0;
}
