// Leaks that the leak checker of the sanitizer builds must not count, because they are not ours: SANE's test
// backend, the scanner of the scanning tests, stops its reader thread when a scan ends and loses the thread's
// line buffer with it. The checker reads this list from every test program.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libsane-test.so\n";
}
