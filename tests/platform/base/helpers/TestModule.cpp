// A small library that the module tests load by its Windows file name.
#define TEST_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

TEST_MODULE_ENTRY int TestModuleAnswer()
{
    return 42;
}

TEST_MODULE_ENTRY int TestModuleTwice(int value)
{
    return 2 * value;
}
