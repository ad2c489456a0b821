// libFuzzer's own runtime pulls in the C++ library ahead of the shared
// sanitizer runtime, whose start-up check then refuses to run although its
// allocator is found first all the same; the shared runtime is what lets
// the package module link with --no-undefined.
extern "C" const char* __asan_default_options() { return "verify_asan_link_order=0"; }
