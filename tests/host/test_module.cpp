// A library for the module tests to load by name and call through an entry they look up.
extern "C" int varnelook_test_module_answer(int value)
{
    return value * 2 + 1;
}
