// Benchmark fixture: the least a Windows program costs to start under the same loader,
// importing nothing beyond kernel32, user32 and the C runtime.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Referenced, not called: the import alone is what is measured.
    const void* const volatile user32 = reinterpret_cast<const void*>(&::FindWindowA);
    return user32 == nullptr;
}
