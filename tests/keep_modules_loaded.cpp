// Linked into every program of a sanitizer build only. Libraries that the system loads at run
// time (the OpenGL driver above all) keep pointers to their allocations in their own data; once
// such a library is unloaded, LeakSanitizer no longer sees those pointers and reports everything
// behind them as leaked, with stacks it cannot name. Keeping every library loaded until the
// process ends leaves LeakSanitizer the true picture; the memory is the system's either way.
extern "C" int dlclose(void*) { return 0; }
