// The library the module tests load: two exports and one function it keeps to itself.
namespace {
int calls = 0;
}

extern "C" __attribute__((visibility("default"))) int VendorAnswer(int x) { return 2 * x + 1; }

// Counts calls since the library was loaded: a fresh count shows it was unloaded.
extern "C" __attribute__((visibility("default"))) int VendorCalls() { return ++calls; }

extern "C" int VendorInternal(int x) { return x; }
