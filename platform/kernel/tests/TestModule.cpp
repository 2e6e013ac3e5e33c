// A module for the shared-library tests: one exported function.
extern "C" __attribute__((visibility("default"))) int TestModuleAnswer()
{
    return 42;
}
