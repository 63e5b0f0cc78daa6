// Compiled into every program of a sanitizer build: AddressSanitizer reads these defaults from
// the program itself (a definition in a shared library would come after the runtime's own), so
// they hold however the program is started; ASAN_OPTIONS adds to them.
//
// intercept_tls_get_addr=0: the runtime of GCC 12 guesses the extent of each thread-local block
// that a run-time loaded library (the OpenGL driver, LLVM) allocates, and for a block that
// happens to begin 16 bytes past a page boundary it takes the allocator's own chunk header for
// a glibc 2.19 block header. LeakSanitizer then scans the made-up range at exit and its tracer
// dies with "Tracer caught signal 11", in any process that has used OpenGL, depending only on
// where the heap put that block. Without the interception those blocks still count: they are
// allocations of the dynamic loader, which LeakSanitizer scans as reachable.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
