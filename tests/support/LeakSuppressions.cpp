// Leaks that the leak checker of the sanitizer builds must not count, because they are not ours; the checker
// reads this list from every test program.
// - The HEVC encoder that makes the photograph tests' pictures keeps a few blocks of its own until the process
//   ends.
// - SANE's test backend, the scanner of the scanning tests, stops its reader thread when a scan ends and loses
//   the thread's line buffer with it.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libx265.so\n"
           "leak:libsane-test.so\n";
}
