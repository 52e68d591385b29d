// Linked into the test programs that open a GL context. Mesa's llvmpipe keeps
// allocations of its shader code past the context and has no frame pointers, so
// the leak checker reports them without a stack we could suppress. Leak checks
// of our own code run in the other test program of each folder.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
