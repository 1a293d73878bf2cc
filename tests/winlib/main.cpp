// Entry of the class layer's tests: the application object set up as the entry would, then GoogleTest.
#include "TestSupport.h"

namespace {

TestApp g_testApp;

}  // namespace

TestApp& TheTestApp() { return g_testApp; }

int main(int argc, char** argv)
{
    ::AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
