// A module for the shared-library tests: one exported function, and a small thread-local block of
// the module's own (allocated for each thread on its first use) holding the only pointer to a
// heap block.
extern "C" __attribute__((visibility("default"))) int TestModuleAnswer()
{
    return 42;
}

namespace
{
thread_local long t_count;
thread_local long* t_owned;
} // namespace

extern "C" __attribute__((visibility("default"))) long TestModuleCountInThread()
{
    if (!t_owned)
        t_owned = new long(0);
    return ++t_count;
}

extern "C" __attribute__((visibility("default"))) void TestModuleReleaseInThread()
{
    delete t_owned;
    t_owned = nullptr;
}
