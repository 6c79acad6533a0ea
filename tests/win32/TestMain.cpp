// The main of the Windows test programs. COM is initialised on the test
// thread as the Windows shell initialises it at start, so that the system's
// image decoder (WIC) serves the tests as it serves the program.
#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(com)) ::CoUninitialize();
    return result;
}
